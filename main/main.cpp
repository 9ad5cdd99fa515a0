// SPDX-License-Identifier: MIT
// Kaleidomat: the window program. Builds the Qt services, hands them to
// the window controller and runs the event loop.

#include <QApplication>
#include <QStringList>
#include <cstdio>

#include "app/command_line.h"
#include "app/window_controller.h"
#include "io/safe_files.h"
#include "platform/qt/qt_clipboard.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/graph_window.h"
#include "platform/qt/qt_file_system.h"
#include "platform/qt/qt_main_window.h"
#include "platform/qt/qt_settings.h"
#include "platform/qt/qt_strings.h"
#include "platform/qt/qt_translations.h"
#include "platform/qt/qt_user_files.h"
#include "platform/qt/window_geometry.h"

int main(int argc, char* argv[]) {
    io::IgnoreFileSizeSignal();  // a file-size limit fails that write, like a full disk, not the program
    // Answered before Qt starts, so that they need no display; so is a
    // wrong --seed.
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (const auto text = app::InformationRequest(arguments, KALEIDOMAT_VERSION)) {
        std::fputs(text->c_str(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    if (const app::StartArguments early = app::ParseStartArguments(arguments); !early.error.empty()) {
        std::fprintf(stderr, "kaleidomat: %s\n", early.error.c_str());
        return 2;
    }
    QApplication application(argc, argv);
    // Lets the desktop match the window to its desktop entry (name, icon).
    QGuiApplication::setDesktopFileName(QStringLiteral("kaleidomat"));
    // Japanese, with Qt's own Japanese, until the controller sets the
    // remembered language or the one --lang asks for.
    platform::qt::QtTranslator translator;

    // "--seed S" and "--lang L" first fix the random sequence and the
    // language (read again from what Qt has left of the arguments, its own
    // options taken out). The rest of the argument
    // text is one path: the arguments joined by single blanks, quotes kept
    // as given.
    std::vector<std::string> given;
    for (const QString& argument : QCoreApplication::arguments().mid(1)) given.push_back(platform::qt::toStdString(argument));
    const app::StartArguments start = app::ParseStartArguments(given);
    if (!start.error.empty()) {
        std::fprintf(stderr, "kaleidomat: %s\n", start.error.c_str());
        return 2;
    }
    std::string commandLine;
    for (std::size_t i = 0; i < start.rest.size(); ++i) commandLine += (i ? " " : "") + start.rest[i];

    platform::qt::QtMainWindow window;
    platform::qt::QtDialogs dialogs(window.widget());
    platform::qt::QtClipboard clipboard;
    platform::qt::QtFileSystem files;
    platform::qt::QtUserFiles userFiles;
    platform::qt::QtSettings settings;
    platform::qt::QtGraphWindow graph;
    // The graph window too, where and as large as it was last.
    platform::qt::RestoreFittedGeometry(*graph.widget(), settings.readBytes(platform::setting::kGraphGeometry));

    int status = 0;
    {
        // The controller lives until the event loop has returned: a slice of
        // a run still scheduled then is never called.
        app::WindowController controller(
            app::WindowController::Services{window, dialogs, clipboard, files, &userFiles, &settings, &graph,
                                            &translator},
            app::WindowController::Options{commandLine, start.seed, start.language});
        window.setEvents(&controller);
        controller.start();
        // The window where it was last closed, as large as it was, within the screens there are now.
        platform::qt::RestoreFittedGeometry(*window.widget(), settings.readBytes(platform::setting::kGeometry));
        window.show();
        status = QApplication::exec();
        window.setEvents(nullptr);
    }
    settings.writeBytes(platform::setting::kGeometry, window.widget()->saveGeometry());
    settings.writeBytes(platform::setting::kGraphGeometry, graph.widget()->saveGeometry());
    return status;
}
