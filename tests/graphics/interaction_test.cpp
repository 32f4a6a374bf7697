// The person at a graph window: dragging the plot edges, marking a spot,
// the caption dialogs, the context menu.
#include "graph_fixture.h"

#include "core/settings.h"

namespace dalvex {
namespace {

class Interaction : public GraphTest {
  protected:
    void SetUp() override {
        Row(0, {1, 2, 3});
        Row(1, {2, 1, 3});
        ws.graphTables.SeriesStyles[0] = 1;
        Graph(KindFunctions, 0);
    }
};

TEST_F(Interaction, PlotEdgesShowResizeCursorsAndCanBeDragged) {
    const GraphLayout l = graph.layout();  // left 24, top 20, right 620, bottom 455
    EXPECT_EQ(graph.ShapeAt(l.left + 3, 200), PointerShape::SizeHorizontal);
    EXPECT_EQ(graph.ShapeAt(l.right() - 4, 200), PointerShape::SizeHorizontal);
    EXPECT_EQ(graph.ShapeAt(300, l.top - 2), PointerShape::SizeVertical);
    EXPECT_EQ(graph.ShapeAt(300, l.bottom() + 4), PointerShape::SizeVertical);
    EXPECT_EQ(graph.ShapeAt(l.left + 5, 200), PointerShape::Arrow);
    EXPECT_EQ(graph.ShapeAt(300, 200), PointerShape::Arrow);

    const unsigned revision = graph.revision();
    graph.PointerPressed(l.right(), 200);
    graph.PointerDragged(l.right() - 100, 210);
    ASSERT_TRUE(graph.DragFrame().has_value());
    EXPECT_EQ(graph.DragFrame()->right, l.right() - 100);
    EXPECT_EQ(graph.revision(), revision) << "the frame follows, the graph waits";
    graph.PointerReleased(l.right() - 100, 210);
    EXPECT_FALSE(graph.DragFrame().has_value());
    EXPECT_EQ(graph.layout().width, l.width - 100);
    EXPECT_GT(graph.revision(), revision);
    EXPECT_FALSE(graph.insertionPoint().marked());

    // An edge pulled past the opposite one stops short of it; a resize lays
    // the plot out afresh.
    graph.PointerPressed(graph.layout().left, 100);
    graph.PointerReleased(630, 100);
    EXPECT_EQ(graph.layout().width, 10);
    graph.Resize(641, 480);
    EXPECT_EQ(graph.layout().width, l.width + 1);
}

TEST_F(Interaction, MarkedSpotAndRectangle) {
    graph.PointerPressed(200, 150);
    graph.PointerReleased(200, 150);
    EXPECT_TRUE(graph.insertionPoint().marked());
    EXPECT_EQ(graph.CopyRect(), (PixelRect{0, 0, 639, 479})) << "a spot copies the whole graph";
    // Pulled up and to the left: the rectangle is the same.
    graph.PointerPressed(300, 250);
    graph.PointerDragged(100, 50);
    graph.PointerReleased(100, 50);
    EXPECT_EQ(graph.CopyRect(), (PixelRect{100, 50, 299, 249}));
}

TEST_F(Interaction, CaptionOnTheGraphAtTheMarkedSpot) {
    // Space without a spot does nothing; the menu item says how to mark one.
    graph.CaptionAtPoint(false);
    EXPECT_TRUE(dialogs.notices().empty());
    graph.CaptionAtPoint(true);
    ASSERT_EQ(dialogs.notices().size(), 1u);
    EXPECT_EQ(dialogs.notices()[0], "Выделите на графике мышью место выполнения надписи!");

    graph.PointerPressed(250, 120);
    graph.PointerReleased(250, 120);
    dialogs.ExpectForm("Надпись на графике", 1, {"Пик"}).ExpectForm("Надпись на графике", 0);
    graph.CaptionAtPoint(false);
    graph.CaptionAtPoint(false);  // cancelled: nothing more
    EXPECT_TRUE(dialogs.scriptDone());
    ASSERT_EQ(graph.overlays().size(), 1u);
    EXPECT_EQ(graph.overlays()[0].text, "Пик");
    Draw();
    EXPECT_EQ(canvas.FindText("Пик")->points[0], (PixelPoint{250, 120}));
}

TEST_F(Interaction, CaptionsDialogSetsCaptionsNamesAndLegend) {
    ws.sheet.SetVariableCount(2);
    ws.sheet.SetCell(2, 0, "  Города");
    ws.sheet.SetCell(2, 1, "  Казань");
    dialogs.ExpectForm("Надписи для графика", 1, {"Время", "Путь", "", "Рис. 2", "3", "1"});
    graph.Subs();
    const GraphSettings& s = graph.settings();
    EXPECT_EQ(s.captions.x, "Время");
    EXPECT_EQ(s.captions.bottom, "Рис. 2");
    EXPECT_TRUE(s.names);
    EXPECT_EQ(s.nameSource, 3);  // the second variable's texts
    EXPECT_EQ(graph.PointName(0), "Казань");
    EXPECT_TRUE(s.legend);
    Draw();
    EXPECT_NE(canvas.FindText("Время"), nullptr);
    EXPECT_NE(canvas.FindText("Казань"), nullptr);
    // The Y caption goes letter by letter down the left side.
    EXPECT_NE(canvas.FindText("П"), nullptr);
    EXPECT_LT(canvas.FindText("П")->points[0].y, canvas.FindText("у")->points[0].y);
    // The dialog offered every variable after "Нет" and "Объекты".
    const FormField& objects = dialogs.forms()[0].FieldAt(4);
    EXPECT_EQ(objects.items, (std::vector<std::string>{"Нет", "Объекты", "x1", "Города"}));

    // "Отменить" leaves the graph as it was.
    const GraphLayout before = graph.layout();
    dialogs.ExpectForm("Надписи для графика", 0);
    graph.Subs();
    EXPECT_EQ(graph.settings().captions.x, "Время");
    EXPECT_TRUE(graph.settings().names);
    EXPECT_TRUE(graph.settings().legend);
    EXPECT_EQ(graph.layout(), before);
}

TEST_F(Interaction, CaptionsDialogStartsFromItsFileClearsAndKeepsArchives) {
    ws.sheet.SetVariableCount(1);
    // The first showing beeps for the missing "StSbs.ini" and shows the
    // graph's own captions; the confirmed ones are written there.
    dialogs.ExpectForm("Надписи для графика", 1, {"t", "s", "", "Рис. 1", "1", "0"});
    graph.Subs();
    EXPECT_EQ(dialogs.beeps(), 1);
    std::vector<std::string> lines;
    ASSERT_TRUE(ReadLinesFile(folder.WithSlash() + "StSbs.ini", lines).ok);
    EXPECT_EQ(lines, (std::vector<std::string>{"t", "s", "", "Рис. 1", "1", "0"}));
    EXPECT_EQ(graph.settings().nameSource, 1);

    // Written into an archive (".sbs" added), cleared, then read back.
    const std::string archive = folder.WithSlash() + "opyt";
    dialogs.ExpectForm("Надписи для графика", 4, {"Время, с"})
        .ExpectFile(1, archive)
        .ExpectForm("Надписи для графика", 2)
        .ExpectForm("Надписи для графика", 3)
        .ExpectFile(0, archive + ".sbs")
        .ExpectForm("Надписи для графика", 1);
    graph.Subs();
    EXPECT_TRUE(dialogs.scriptDone());
    ASSERT_EQ(dialogs.forms().size(), 5u);
    EXPECT_EQ(dialogs.forms()[1].Values()[0], "t") << "shown from StSbs.ini";
    EXPECT_EQ(dialogs.forms()[3].Values(), (std::vector<std::string>{"", "", "", "", "0", "0"}));
    EXPECT_EQ(dialogs.forms()[4].Values()[0], "Время, с");
    EXPECT_EQ(graph.settings().captions.x, "Время, с");
    EXPECT_EQ(graph.settings().captions.bottom, "Рис. 1");

    // An archive that cannot be read says so and the fields stay.
    dialogs.ExpectForm("Надписи для графика", 3)
        .ExpectFile(0, folder.WithSlash() + "none.sbs")
        .ExpectForm("Надписи для графика", 0);
    graph.Subs();
    ASSERT_EQ(dialogs.notices().size(), 1u);
    EXPECT_NE(dialogs.notices()[0].find("none.sbs"), std::string::npos) << dialogs.notices()[0];
    EXPECT_EQ(dialogs.forms().back().Values()[0], "Время, с");
}

TEST_F(Interaction, ContextMenuOffersNamesExceptForBusinessGraphs) {
    auto has = [](const std::vector<TGra::MenuItem>& items, TGra::MenuAction action) {
        for (const auto& item : items)
            if (item.action == action)
                return true;
        return false;
    };
    EXPECT_TRUE(has(graph.ContextMenu(), TGra::MenuAction::Names));
    EXPECT_EQ(graph.ContextMenu()[0].caption, std::string("Сохранить в графич.файле"));
    // Saving and printing belong to the window.
    EXPECT_FALSE(graph.ContextCommand(TGra::MenuAction::SaveImage));
    EXPECT_TRUE(graph.ContextCommand(TGra::MenuAction::Grid));
    EXPECT_TRUE(graph.settings().grid);
    Graph(KindBars, 0);
    EXPECT_FALSE(has(graph.ContextMenu(), TGra::MenuAction::Names));
}

}  // namespace
}  // namespace dalvex
