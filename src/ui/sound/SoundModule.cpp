// The answer buttons' sound effect, in a module of its own: the window loads
// it the first time a sound plays, so starting the trainer does not load the
// multimedia libraries.
#include <QSoundEffect>

extern "C" Q_DECL_EXPORT QObject* cxbMakeSoundEffect(QObject* parent) { return new QSoundEffect(parent); }
