// Graph windows in the real main window, without a display: requests from
// a method, tabs and tiling, the graph tool bar, File and Edit commands, the
// prompt, the mouse.
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>
#include <QSvgRenderer>
#include <QTabBar>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <memory>

#include "core/graph_handover.h"
#include "graphics/graph_desk.h"
#include "graphics/graph_tool_bar.h"
#include "graphics/tgra.h"
#include "gui/graph_view.h"
#include "gui/main_window.h"
#include "gui/platform_language.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QToolBar>
#include <QToolTip>

using namespace dalvex;

class GraphWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();

    void requestsOpenWindowsWithTabsAndTheSixteenthReusesTheFirst();
    void graphTabsTileTheWindowsAndShowTheGraphButtons();
    void toolBarButtonsActOnTheCurrentGraph();
    void copySavePrintAndClear();
    void discardedGraphsCloseAfterTheMethod();
    void captionAndPastedPictureSurviveSaving();
    void draggingThePlotEdgeWithTheMouse();
    void toolBarExplainsItselfAndThePlatformDialogsSpeakRussian();
    void superdiagramScrollBarsMoveTheSliceAndASurfacePrints();

  private:
    // A method's series: X 0..19 in row 0, a sine in row 1.
    void HandOverPairs(const std::string& title) {
        ws->store.SetRowWidth(0, 100);
        for (int i = 0; i < 20; ++i) {
            ws->store.Data(0, i) = i;
            ws->store.Data(1, i) = std::sin(i * 0.4) * 5;
        }
        ws->VarLength[0] = 1;
        ws->VarLength[1] = ws->VarLength[2] = 19;
        ws->graphTables.SeriesStyles[0] = 1;
        ws->SetTextBuffer(title);
        GraSt(*ws, RequestPairs, 0);
    }
    QStringList TabTexts() const {
        QStringList texts;
        for (int i = 0; i < window->windowTabs()->count(); ++i)
            texts << window->windowTabs()->tabText(i);
        return texts;
    }
    // The graph button with this name (the tool bar's table gives the order).
    QAction* Button(const char* name) const {
        const auto& table = GraphToolButtons();
        for (std::size_t i = 0; i < table.size(); ++i)
            if (std::string(table[i].name) == name)
                return window->graphButtons().value(static_cast<int>(i));
        return nullptr;
    }
    // Dark pixels of a picture inside a rectangle: text and lines drawn there.
    static int DarkPixels(const QImage& image, const QRect& area) {
        int dark = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                dark += qGray(image.pixel(x, y)) < 100 ? 1 : 0;
        return dark;
    }

    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<ScriptedDialogs> dialogs;
    std::unique_ptr<Workspace> ws;
    std::unique_ptr<MainWindow> window;
    QString chosenPath;
};

void GraphWindowTest::init() {
    folder = std::make_unique<QTemporaryDir>();
    dialogs = std::make_unique<ScriptedDialogs>();
    ws = std::make_unique<Workspace>(*dialogs);
    window = std::make_unique<MainWindow>(*ws, folder->path().toStdString());
    window->resize(1000, 700);
    window->show();
    QVERIFY(window->started());
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    window->SetGraphFileChooser([this](bool, const QString&) { return chosenPath; });
}

void GraphWindowTest::cleanup() {
    if (window && window->isVisible()) {
        dialogs->ExpectYesNo("Закончить сеанс", true);
        window->close();
    }
    window.reset();
    ws.reset();
    dialogs.reset();
    folder.reset();
}

void GraphWindowTest::requestsOpenWindowsWithTabsAndTheSixteenthReusesTheFirst() {
    HandOverPairs("Корреляция");
    QCOMPARE(TabTexts(), (QStringList{"Dat", "Rez", "Gr1"}));
    QMdiSubWindow* first = window->graphWindow(1);
    QVERIFY(first);
    QCOMPARE(first->windowTitle(), QStringLiteral("Корреляция"));
    QCOMPARE(window->mdiArea()->activeSubWindow(), first);
    QCOMPARE(ws->ActiveWindowKind, 3);
    QVERIFY(!window->graphView(1)->image().isNull());

    for (int i = 2; i <= 15; ++i)
        HandOverPairs("График " + std::to_string(i));
    QCOMPARE(TabTexts().size(), 17);
    QCOMPARE(TabTexts().back(), QStringLiteral("Gr15"));
    QCOMPARE(window->mdiArea()->subWindowList().size(), 17);

    HandOverPairs("Шестнадцатый");
    QCOMPARE(window->mdiArea()->subWindowList().size(), 17);
    QCOMPARE(window->graphWindow(1), first);
    QCOMPARE(first->windowTitle(), QStringLiteral("Шестнадцатый"));
    QCOMPARE(window->mdiArea()->activeSubWindow(), first);
    QCOMPARE(window->form().graphs().current(), 1);
}

void GraphWindowTest::graphTabsTileTheWindowsAndShowTheGraphButtons() {
    HandOverPairs("Первый");
    HandOverPairs("Второй");
    QVERIFY(Button("Линии")->isVisible());
    window->ChooseLayout(3);  // 2*2
    window->ChooseTab(0);     // "Dat": sheet, results, Gr1, Gr2 in the four cells
    QCOMPARE(ws->ActiveWindowKind, 1);
    QVERIFY(!Button("Линии")->isVisible());
    const QSize client = window->mdiArea()->viewport()->size();
    const int w = client.width(), h = client.height();
    QCOMPARE(window->graphWindow(1)->geometry(), QRect(0, h / 2, (w - 1) / 2, (h - 1) / 2));
    QCOMPARE(window->graphWindow(2)->geometry(), QRect(w / 2, h / 2, (w - 1) / 2, (h - 1) / 2));

    window->ChooseTab(3);  // "Gr2" takes the first cell
    QCOMPARE(ws->ActiveWindowKind, 3);
    QCOMPARE(window->form().graphs().current(), 2);
    QCOMPARE(window->mdiArea()->activeSubWindow(), window->graphWindow(2));
    QCOMPARE(window->graphWindow(2)->geometry(), QRect(0, 0, (w - 1) / 2, (h - 1) / 2));
    QVERIFY(Button("Линии")->isVisible());
    // The graph fills its window: the image follows the window's size.
    GraphView* view = window->graphView(2);
    QCOMPARE(view->image().size(), view->size());
}

void GraphWindowTest::toolBarButtonsActOnTheCurrentGraph() {
    HandOverPairs("Первый");
    TGra& graph = window->graphView(1)->graph();
    Button("Линии")->trigger();
    QCOMPARE(graph.settings().lineWidth, 3);
    Button("Сетка")->trigger();
    QVERIFY(graph.settings().grid);
    Button("Цвет")->trigger();
    QCOMPARE(graph.settings().colourMode, ColourMode::Monochrome);
    // Buttons that do nothing for X-Y pairs are disabled; the series button
    // shows the current series beside its name.
    for (const char* idle : {"Проекция", "Вращение", "Накопл.диагр", "Форма графика"})
        QVERIFY2(!Button(idle)->isEnabled(), idle);
    QCOMPARE(Button("Nграфик")->text(), QStringLiteral("Nграфик 1"));
    // Every button has its own name and tooltip.
    QSet<QString> names, tips;
    for (QAction* button : window->graphButtons()) {
        names << button->text();
        tips << button->toolTip();
    }
    QCOMPARE(names.size(), window->graphButtons().size());
    QCOMPARE(tips.size(), window->graphButtons().size());
    // The picture shown is the toggled graph: monochrome has no grey.
    const QImage image = window->graphView(1)->image();
    QCOMPARE(image.pixelColor(2, 2), QColor(Qt::white));

    // Saving into the sheet writes the graph's two rows as variables.
    Button("СохрГраф в электр.табл.")->trigger();
    QCOMPARE(ws->sheet.VariableCount(), 2);
    QCOMPARE(ws->sheet.ColumnLength(2), 20);
}

void GraphWindowTest::copySavePrintAndClear() {
    HandOverPairs("Первый");
    GraphView* view = window->graphView(1);
    QCOMPARE(window->form().Route(MainCommand::Copy), CommandTarget::Graph);
    QVERIFY(window->commandAction(MainCommand::Copy)->isEnabled());
    QVERIFY(!window->commandAction(MainCommand::Delete)->isEnabled());

    window->Execute(MainCommand::Copy);
    const QImage copied = QApplication::clipboard()->image();
    QCOMPARE(copied.size(), view->image().size());

    // The file's format follows its name; without a suffix it is a bitmap.
    auto header = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.read(4) : QByteArray();
    };
    chosenPath = folder->filePath("graph");
    window->Execute(MainCommand::Save);
    QCOMPARE(header(folder->filePath("graph.bmp")).left(2), QByteArray("BM"));
    QCOMPARE(QImage(folder->filePath("graph.bmp")).size(), view->image().size());
    chosenPath = folder->filePath("graph.png");
    window->Execute(MainCommand::Save);
    QCOMPARE(header(chosenPath), QByteArray("\x89PNG"));
    QCOMPARE(QImage(chosenPath), view->image().convertToFormat(QImage(chosenPath).format()));

    // A drawing at the window's size that paints the same graph, its texts
    // kept as text.
    chosenPath = folder->filePath("graph.svg");
    window->Execute(MainCommand::Save);
    QSvgRenderer svg(chosenPath);
    QVERIFY(svg.isValid());
    QCOMPARE(svg.defaultSize(), view->image().size());
    QImage drawn(svg.defaultSize(), QImage::Format_RGB32);
    drawn.fill(Qt::white);
    QPainter painter(&drawn);
    svg.render(&painter);
    painter.end();
    const QImage shown = view->image().convertToFormat(QImage::Format_RGB32);
    qint64 differing = 0;
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x) {
            const QColor a = drawn.pixelColor(x, y), b = shown.pixelColor(x, y);
            if (std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
                    std::abs(a.blue() - b.blue()) >
                96)
                ++differing;
        }
    QVERIFY2(differing < qint64(drawn.width()) * drawn.height() / 50,
             qPrintable(QString::number(differing)));
    if (const QByteArray shots = qgetenv("DALVEX_SHOT_DIR"); !shots.isEmpty())
        drawn.save(QString::fromUtf8(shots) + "/graph_svg_rendered.png");
    QFile svgFile(chosenPath);
    QVERIFY(svgFile.open(QIODevice::ReadOnly));
    const QByteArray svgText = svgFile.readAll();
    QVERIFY(svgText.contains("<title>Первый</title>"));
    QVERIFY(svgText.count("</text>") >= 4);  // the scales' numbers
    chosenPath = folder->filePath("graph.pdf");
    window->Execute(MainCommand::Save);
    QCOMPARE(header(chosenPath), QByteArray("%PDF"));

    // The numbers behind it: the 20 points of the pair.
    chosenPath = folder->filePath("numbers");
    view->SaveNumbersAs();
    QFile csv(folder->filePath("numbers.csv"));
    QVERIFY(csv.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = csv.readAll().split('\n');
    QCOMPARE(lines.size(), 22);  // the header, 20 points, nothing after the last CR LF
    QCOMPARE(lines[0], QByteArray("series,point,X,Y\r"));
    QCOMPARE(lines[1], QByteArray("1,1,0,0\r"));
    QVERIFY(dialogs->notices().empty());

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(folder->filePath("graph.pdf"));
    QVERIFY(view->Print(printer));
    QFile pdf(folder->filePath("graph.pdf"));
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    QVERIFY(pdf.readAll().startsWith("%PDF"));

    // Clear closes the current graph window and its tab.
    window->Execute(MainCommand::Clear);
    QTRY_VERIFY(window->graphWindow(1) == nullptr);
    QCOMPARE(TabTexts(), (QStringList{"Dat", "Rez"}));
    QCOMPARE(window->graphDesk()->count(), 0);
    QVERIFY(ws->ActiveWindowKind != 3);
}

void GraphWindowTest::discardedGraphsCloseAfterTheMethod() {
    dialogs->ExpectGraphPrompt(true).ExpectGraphPrompt(false);
    HandOverPairs("Оставленный");
    pqsegr(*ws);
    HandOverPairs("Отменённый");
    pqsegr(*ws);
    QCOMPARE(TabTexts().size(), 4);
    window->CloseDiscardedGraphs();
    QCOMPARE(TabTexts(), (QStringList{"Dat", "Rez", "Gr1"}));
    QVERIFY(window->graphWindow(2) == nullptr);
    QCOMPARE(window->graphDesk()->count(), 1);
    QCOMPARE(window->mdiArea()->subWindowList().size(), 3);
    // The next request takes the freed number.
    HandOverPairs("Новый");
    QCOMPARE(TabTexts().back(), QStringLiteral("Gr2"));
}

void GraphWindowTest::captionAndPastedPictureSurviveSaving() {
    HandOverPairs("Первый");
    GraphView* view = window->graphView(1);
    const QPoint spot(150, 60);
    QTest::mouseClick(view, Qt::LeftButton, {}, spot);
    dialogs->ExpectForm("Надпись на графике", 1, {"WWWWWW"});
    QTest::keyClick(view, Qt::Key_Space);
    QVERIFY(dialogs->scriptDone());

    QImage red(20, 10, QImage::Format_RGB32);
    red.fill(Qt::red);
    QApplication::clipboard()->setImage(red);
    QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(300, 150));
    QTest::keyClick(view, Qt::Key_Insert, Qt::ControlModifier);

    Button("Линии")->trigger();  // a redraw
    chosenPath = folder->filePath("marked.png");
    window->Execute(MainCommand::Save);
    const QImage saved(chosenPath);
    QVERIFY(!saved.isNull());
    QVERIFY(DarkPixels(saved, QRect(spot, QSize(40, 12))) > 20);
    QCOMPARE(saved.pixelColor(310, 155), QColor(Qt::red));

    // Shift+Insert copies the marked rectangle only.
    QTest::mousePress(view, Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseMove(view, QPoint(160, 140));
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(160, 140));
    QTest::keyClick(view, Qt::Key_Insert, Qt::ShiftModifier);
    QCOMPARE(QApplication::clipboard()->image().size(), QSize(60, 40));
}

void GraphWindowTest::draggingThePlotEdgeWithTheMouse() {
    HandOverPairs("Первый");
    GraphView* view = window->graphView(1);
    TGra& graph = view->graph();
    const GraphLayout before = graph.layout();
    const QPoint edge(before.right(), before.top + before.height / 2);
    QMouseEvent hover(QEvent::MouseMove, edge, view->mapToGlobal(edge), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
    QApplication::sendEvent(view, &hover);
    QCOMPARE(view->cursor().shape(), Qt::SizeHorCursor);
    QTest::mousePress(view, Qt::LeftButton, {}, edge);
    QTest::mouseMove(view, edge - QPoint(80, 0));
    QTest::mouseRelease(view, Qt::LeftButton, {}, edge - QPoint(80, 0));
    QCOMPARE(graph.layout().width, before.width - 80);
    QVERIFY(!graph.insertionPoint().marked());
}

namespace {

void Shot(QWidget& widget, const char* name) {
    const QByteArray dir = qgetenv("DALVEX_SHOT_DIR");
    if (!dir.isEmpty())
        widget.grab().save(QString::fromUtf8(dir) + "/" + name + ".png");
}

}  // namespace

void GraphWindowTest::toolBarExplainsItselfAndThePlatformDialogsSpeakRussian() {
    HandOverPairs("Гистограмма: рост");
    QAction* form = Button("Форма линии");
    QVERIFY(form->isVisible());
    QVERIFY(form->isEnabled());
    QTest::qWait(100);
    window->ChooseTab(2);  // "Gr1" in front, its buttons laid out on the bar
    QCoreApplication::processEvents();
    QWidget* formButton = nullptr;
    for (QToolBar* bar : window->findChildren<QToolBar*>())
        if (bar->widgetForAction(form))
            formButton = bar->widgetForAction(form);
    QVERIFY(formButton);
    QToolTip::showText(formButton->mapToGlobal(QPoint(4, formButton->height())), form->toolTip(),
                       formButton);
    Shot(*window, "graph_tool_bar");
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->inherits("QTipLabel") && top->isVisible()) {
            QCOMPARE(qobject_cast<QLabel*>(top)->text(), form->toolTip());
            Shot(*top, "graph_tool_bar_tooltip");
        }

    // The save dialog of a graph, in the program's language.
    QVERIFY(InstallPlatformTranslations());
    QFileDialog save(window.get(), QString(), folder->path(),
                     QStringLiteral("Граф.файлы (*.bmp);;PNG (*.png)"));
    save.setOption(QFileDialog::DontUseNativeDialog);
    save.setAcceptMode(QFileDialog::AcceptSave);
    save.show();
    QPushButton* accept = save.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Save);
    QVERIFY(accept);
    QVERIFY2(accept->text().contains(QStringLiteral("Сохранить")), qPrintable(accept->text()));
    Shot(save, "graph_save_dialog");
}

// The superdiagram's panel: a scroll bar for each coordinate off the map's
// plane redraws the slice; a function surface printed onto a page.
void GraphWindowTest::superdiagramScrollBarsMoveTheSliceAndASurfacePrints() {
    // Value = the third coordinate on a 3 x 3 x 3 lattice.
    ws->store.SetRowWidth(0, 100);
    for (int k = 0; k < 27; ++k) {
        ws->store.Data(0, k) = k % 3;
        ws->store.Data(1, k) = k / 3 % 3;
        ws->store.Data(2, k) = k / 9;
        ws->store.Data(3, k) = k / 9;
    }
    for (int r = 1; r <= 4; ++r)
        ws->VarLength[r] = 26;
    ws->SetTextBuffer("Супердиаграмма");
    ShowGraphKind(*ws, KindSuperDiagram, 3);
    const int number = window->form().graphs().current();
    GraphView* view = window->graphView(number);
    QVERIFY(view);
    QTest::qWait(20);
    const QList<QScrollBar*> bars = view->findChildren<QScrollBar*>();
    QCOMPARE(bars.size(), 4);  // the plane, then the three coordinates
    QVERIFY(!bars[1]->isEnabled());
    QVERIFY(!bars[2]->isEnabled());
    QVERIFY(bars[3]->isEnabled());
    bars[3]->setValue(0);
    const int low = view->graph().levelGrid().at(12, 12);
    const QImage before = view->image().copy();
    bars[3]->setValue(25);
    QVERIFY(view->graph().levelGrid().at(12, 12) > low + 100);
    QVERIFY(view->image() != before);
    Shot(*window->graphWindow(number), "superdiagram_window");

    // The plane (a, c): b's bar moves now, c's rests.
    bars[0]->setValue(1);
    QCOMPARE(view->graph().mapSecond(), 2);
    QVERIFY(bars[2]->isEnabled());
    QVERIFY(!bars[3]->isEnabled());

    const int n = 30;
    ws->store.SetRowWidth(0, CellCapacity / 3);
    for (int c = 0; c < n; ++c)
        for (int d = 0; d < n; ++d) {
            const double x = -2 + 4.0 * d / (n - 1), y = -2 + 4.0 * c / (n - 1);
            ws->store.Data(0, d + c * n) = x;
            ws->store.Data(1, d + c * n) = y;
            ws->store.Data(2, d + c * n) = std::exp(-(x * x + y * y) / 2);
        }
    for (int r = 1; r <= 3; ++r)
        ws->VarLength[r] = n * n - 1;
    ws->SetTextBuffer("3-мерная");
    ShowGraphKind(*ws, KindFunctionSurface, 0);
    GraphView* surface = window->graphView(window->form().graphs().current());
    QVERIFY(surface);
    QVERIFY(surface->findChildren<QScrollBar*>().isEmpty());
    const QString pdf = qEnvironmentVariableIsSet("DALVEX_SHOT_DIR")
                            ? qEnvironmentVariable("DALVEX_SHOT_DIR") + "/surface_page.pdf"
                            : folder->filePath("surface.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    QVERIFY(surface->Print(printer));
    QVERIFY(QFile(pdf).size() > 5000);
}

QTEST_MAIN(GraphWindowTest)
#include "graph_window_test.moc"
