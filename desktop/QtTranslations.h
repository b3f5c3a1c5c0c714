#pragma once

#include <QLocale>

class QCoreApplication;

// Qt's own texts (standard buttons, file and folder dialogs) in the user's language, from the
// translations that come with Qt. The program's own texts are Dutch and are never translated.
namespace desktop {

// Installs Qt's translation "qtbase_<language>.qm" for `locale` from Qt's translations folder
// into `app` (which keeps it). Returns false, changing nothing, when there is none for that
// language (Qt's texts then stay English). GUI thread; before the first window is built.
bool installQtTranslations(QCoreApplication& app, const QLocale& locale = QLocale::system());

} // namespace desktop
