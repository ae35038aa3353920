#pragma once
#include <QGroupBox>

class QSpinBox;

namespace cxb {

struct SettingsValues;

// The settings dialog's group "智能复习": 记忆保持率 (the recall below which a
// question falls due, in percent) and 每天新题. The ranges are the engine's
// (ReviewSettingsField).
class ReviewSettingsGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit ReviewSettingsGroup(QWidget* parent);

    void showValues(const SettingsValues& v);
    void takeValues(SettingsValues& v) const;

private:
    QSpinBox* retention_;
    QSpinBox* newPerDay_;
};

} // namespace cxb
