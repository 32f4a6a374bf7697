// dalvex-batch SCRIPT: runs a batch script and prints the results text.
#include <iostream>
#include <memory>

#include "batch/batch_runner.h"
#include "stats/statistics_methods.h"

#if DALVEX_BATCH_IMAGES
#include <QGuiApplication>

#include "gui/graph_image.h"
#endif

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "Запуск: dalvex-batch СЦЕНАРИЙ\n";
        return dalvex::BatchFileError;
    }
    const dalvex::MethodRegistry methods = dalvex::BuiltStatisticsMethods();
#if DALVEX_BATCH_IMAGES
    // Graphs are painted with Qt's fonts, which need an application object;
    // it is made for the first graph, without any display, and ends with main.
    std::unique_ptr<QGuiApplication> painting;
    const dalvex::GraphImageWriter writeImage =
        [&](dalvex::TGra& graph, const dalvex::Workspace& ws, const std::string& path) {
            if (!painting) {
                qputenv("QT_QPA_PLATFORM", "offscreen");
                // Qt's remarks about the desktop it lacks are not the script's business.
                qInstallMessageHandler(
                    [](QtMsgType type, const QMessageLogContext&, const QString& text) {
                        if (type == QtCriticalMsg || type == QtFatalMsg)
                            std::cerr << text.toStdString() << '\n';
                    });
                painting = std::make_unique<QGuiApplication>(argc, argv);
            }
            return dalvex::SaveGraphImage(graph, ws, path);
        };
    return dalvex::RunBatchFile(argv[1], methods, std::cout, std::cerr, writeImage);
#else
    return dalvex::RunBatchFile(argv[1], methods, std::cout, std::cerr);
#endif
}
