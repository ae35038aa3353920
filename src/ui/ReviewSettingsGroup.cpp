#include "ui/ReviewSettingsGroup.h"

#include <QLabel>
#include <QSpinBox>

#include "engine/ReviewSettingsField.h"
#include "engine/SettingsModel.h"

namespace cxb {

ReviewSettingsGroup::ReviewSettingsGroup(QWidget* parent) : QGroupBox(QStringLiteral("智能复习"), parent) {
    setObjectName("grpZhineng");
    auto* retentionLabel = new QLabel(QStringLiteral("记忆保持率："), this);
    retentionLabel->setGeometry(16, 24, 100, 22);
    retention_ = new QSpinBox(this);
    retention_->setObjectName("spnbaochilv");
    retention_->setRange(ReviewSettingsField::kMinRetentionPercent, ReviewSettingsField::kMaxRetentionPercent);
    retention_->setSuffix(QStringLiteral(" %"));
    retention_->setGeometry(118, 20, 96, 26);
    retention_->setAccessibleName(QStringLiteral("记忆保持率"));
    retention_->setToolTip(QStringLiteral("记得的可能低于这个比例时，题目到期复习；越高复习越勤"));
    retentionLabel->setBuddy(retention_);
    auto* newLabel = new QLabel(QStringLiteral("每天新题："), this);
    newLabel->setGeometry(240, 24, 100, 22);
    newPerDay_ = new QSpinBox(this);
    newPerDay_->setObjectName("spnxinti");
    newPerDay_->setRange(0, ReviewSettingsField::kMaxNewPerDay);
    newPerDay_->setSuffix(QStringLiteral(" 道"));
    newPerDay_->setGeometry(342, 20, 96, 26);
    newPerDay_->setAccessibleName(QStringLiteral("每天新题"));
    newLabel->setBuddy(newPerDay_);
}

void ReviewSettingsGroup::showValues(const SettingsValues& v) {
    retention_->setValue(v.retentionPercent);
    newPerDay_->setValue(v.newPerDay);
}

void ReviewSettingsGroup::takeValues(SettingsValues& v) const {
    v.retentionPercent = retention_->value();
    v.newPerDay = newPerDay_->value();
}

} // namespace cxb
