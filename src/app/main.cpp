// The DALVEX program: the splash, then the main window, which on its first
// paint creates the results window and the data sheet, allocates the store
// and reads the settings.
#include <QApplication>
#include <QFileInfo>
#include <QPointer>
#include <QTimer>
#include <QUrl>

#include "batch/session_recorder.h"
#include "core/program_folder.h"
#include "core/workspace.h"
#include "gui/main_window.h"
#include "gui/platform_language.h"
#include "gui/qt_user_dialogs.h"
#include "gui/splash.h"
#include "gui/tool_icons.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("DALVEX"));
    QApplication::setWindowIcon(dalvex::ProgramIcon());

    // The platform's own dialogs (files, fonts, printer) speak the program's
    // language too.
    dalvex::InstallPlatformTranslations();

    const QPointer<QWidget> splash = dalvex::ShowSplash();
    QApplication::processEvents();

    dalvex::QtUserDialogs dialogs;
    // Every answer passes the recorder, which writes them out while the
    // session is recorded ("Запись сеанса").
    dalvex::SessionRecorder recorder(dialogs);
    dalvex::Workspace ws(recorder);
    // Qt has switched the C library to the user's locale; the separator is
    // taken from it and the numeric part put back to "C".
    ws.settings.decimalSeparator = dalvex::LocaleDecimalSeparator();

    // An installed program keeps its samples in <prefix>/share/dalvex/samples
    // beside <prefix>/bin; run from the build folder it has none to copy.
    const std::string programFolder = dalvex::ProgramFolderAtStart();
    dalvex::CopySamplesAtFirstStart(programFolder, (QCoreApplication::applicationDirPath() +
                                                    QStringLiteral("/../share/dalvex/samples"))
                                                       .toStdString());
    dalvex::MainWindow window(ws, programFolder);
    dialogs.SetParent(&window);
    dialogs.SetFileDialog(
        [&window](const dalvex::FileRequest& request) { return window.RWDlg(request); });
    dialogs.SetHelp([&window](int context) { window.HelpTopic(context); });
    dialogs.SetWorkHelp([&ws] { return ws.RunHelpContext; });
    window.show();
    // The splash stays in front of the window that appears behind it.
    if (splash)
        splash->raise();
    // Without its store the program cannot do anything; the notice has been
    // shown.
    if (!window.started())
        return 1;
    // "dalvex data.dvx": the file goes into the sheet once the window is up.
    // Qt has taken its own options out of the arguments; a file manager may
    // hand over a file: URL.
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1) {
        QString name = arguments.at(1);
        if (name.startsWith(QStringLiteral("file:")))
            name = QUrl(name).toLocalFile();
        const std::string path = QFileInfo(name).absoluteFilePath().toStdString();
        QTimer::singleShot(0, &window, [&window, path] { window.OpenAtStart(path); });
    }
    return QApplication::exec();
}
