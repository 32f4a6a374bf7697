// The person's side of a graph window: dragging the plot edges, marking the
// spot for a caption or a picture, the two caption dialogs and the context
// menu.
#include <algorithm>
#include <cstdlib>

#include "core/form_dialog.h"
#include "core/number.h"
#include "core/sheet_bridge.h"
#include "core/workspace.h"
#include "graphics/graph_captions.h"
#include "graphics/tgra.h"

namespace dalvex {

namespace {

constexpr int EdgeGrip = 4;  // pixels either side of a plot edge
constexpr int SmallestPlotSide = 10;

constexpr const char* MarkSpotNotice = "Выделите на графике мышью место выполнения надписи!";

}  // namespace

// ---------------------------------------------------------------------------
// Plot edges and the insertion point.

PlotEdge TGra::EdgeAt(int x, int y) const {
    const GraphLayout& l = layout_;
    const bool alongVertical = y >= l.top - EdgeGrip && y <= l.bottom() + EdgeGrip;
    const bool alongHorizontal = x >= l.left - EdgeGrip && x <= l.right() + EdgeGrip;
    if (alongVertical && std::abs(x - l.left) <= EdgeGrip)
        return PlotEdge::Left;
    if (alongVertical && std::abs(x - l.right()) <= EdgeGrip)
        return PlotEdge::Right;
    if (alongHorizontal && std::abs(y - l.top) <= EdgeGrip)
        return PlotEdge::Top;
    if (alongHorizontal && std::abs(y - l.bottom()) <= EdgeGrip)
        return PlotEdge::Bottom;
    return PlotEdge::None;
}

PointerShape TGra::ShapeAt(int x, int y) const {
    switch (dragEdge_ != PlotEdge::None ? dragEdge_ : EdgeAt(x, y)) {
        case PlotEdge::Left:
        case PlotEdge::Right:
            return PointerShape::SizeHorizontal;
        case PlotEdge::Top:
        case PlotEdge::Bottom:
            return PointerShape::SizeVertical;
        default:
            return PointerShape::Arrow;
    }
}

void TGra::PointerPressed(int x, int y) {
    const PlotEdge edge = EdgeAt(x, y);
    if (edge != PlotEdge::None) {
        dragEdge_ = edge;
        dragAt_ = {x, y};
        return;
    }
    point_ = {x, y, 0, 0};
    marking_ = true;
}

void TGra::PointerDragged(int x, int y) {
    if (dragEdge_ != PlotEdge::None) {
        dragAt_ = {x, y};
    } else if (marking_) {
        point_.width = x - point_.x;
        point_.height = y - point_.y;
    }
}

std::optional<PixelRect> TGra::DragFrame() const {
    if (dragEdge_ == PlotEdge::None)
        return std::nullopt;
    const GraphLayout& l = layout_;
    PixelRect r{l.left, l.top, l.right(), l.bottom()};
    switch (dragEdge_) {
        case PlotEdge::Left:
            r.left = std::clamp(dragAt_.x, 0, r.right - SmallestPlotSide);
            break;
        case PlotEdge::Right:
            r.right = std::clamp(dragAt_.x, r.left + SmallestPlotSide,
                                 std::max(l.W - 1, r.left + SmallestPlotSide));
            break;
        case PlotEdge::Top:
            r.top = std::clamp(dragAt_.y, 0, r.bottom - SmallestPlotSide);
            break;
        default:
            r.bottom = std::clamp(dragAt_.y, r.top + SmallestPlotSide,
                                  std::max(l.H - 1, r.top + SmallestPlotSide));
            break;
    }
    return r;
}

void TGra::PointerReleased(int x, int y) {
    if (dragEdge_ != PlotEdge::None) {
        dragAt_ = {x, y};
        const PixelRect r = *DragFrame();
        dragEdge_ = PlotEdge::None;
        layout_.left = r.left;
        layout_.top = r.top;
        layout_.width = r.right - r.left;
        layout_.height = r.bottom - r.top;
        Changed();
        return;
    }
    if (!marking_)
        return;
    marking_ = false;
    PointerDragged(x, y);
    // The rectangle, whichever way it was pulled.
    if (point_.width < 0) {
        point_.x += point_.width;
        point_.width = -point_.width;
    }
    if (point_.height < 0) {
        point_.y += point_.height;
        point_.height = -point_.height;
    }
}

PixelRect TGra::CopyRect() const {
    const GraphLayout& l = layout_;
    const PixelRect whole{0, 0, l.W - 1, l.H - 1};
    if (!point_.marked() || point_.width < 2 || point_.height < 2)
        return whole;
    PixelRect r{point_.x, point_.y, point_.x + point_.width - 1, point_.y + point_.height - 1};
    r.left = std::clamp(r.left, 0, whole.right);
    r.top = std::clamp(r.top, 0, whole.bottom);
    r.right = std::clamp(r.right, r.left, whole.right);
    r.bottom = std::clamp(r.bottom, r.top, whole.bottom);
    return r;
}

// ---------------------------------------------------------------------------
// Overlays.

void TGra::AddText(int x, int y, const std::string& text) {
    if (text.empty())
        return;
    overlays_.push_back({x, y, text, {}});
    Changed();
}

void TGra::PasteBitmap(Bitmap bitmap) {
    if (bitmap.empty())
        return;
    const int x = point_.marked() ? point_.x : 0;
    const int y = point_.marked() ? point_.y : 0;
    overlays_.push_back({x, y, {}, std::move(bitmap)});
    Changed();
}

void TGra::CaptionAtPoint(bool fromMenu) {
    if (!point_.marked()) {
        if (fromMenu)
            ShowNotice(ws_, MarkSpotNotice);
        return;
    }
    FormDialog form;
    form.caption = "Надпись на графике";
    form.Field("Введите надпись", "")
        .Button("Утвердить", 1)
        .Button("Отменить", 0)
        .RememberIn("q36.ini");
    const FormAnswer answer = ShowForm(ws_, form);
    if (answer.button != 1 || answer.values.empty())
        return;
    AddText(point_.x, point_.y, answer.values[0]);
}

// ---------------------------------------------------------------------------
// The captions dialog.

void TGra::Subs() {
    CaptionSet current{s_.captions, s_.names ? s_.nameSource : 0, s_.legend};
    // The names' choice counts "Нет" and "Объекты" before the variables;
    // the variables' own names (source 0) have no place in it.
    if (s_.names && s_.nameSource == 0)
        current.names = 0;
    const std::optional<CaptionSet> chosen = Tq35(ws_, current);
    // "Отменить" leaves the graph as it was.
    if (!chosen)
        return;
    s_.captions = chosen->captions;
    const int objects = ws_.sheet.VariableCount() + 2;
    const int choice = std::clamp(chosen->names, 0, objects - 1);
    s_.names = choice != 0;
    if (choice != 0)
        s_.nameSource = choice;
    if (choice >= 2)
        NamesFromSheetColumn(choice - 1);
    s_.legend = chosen->legend;
    Relayout();
    Changed();
}

// ---------------------------------------------------------------------------
// Context menu.

std::vector<TGra::MenuItem> TGra::ContextMenu() const {
    using A = MenuAction;
    std::vector<MenuItem> items{
        {A::SaveImage, "Сохранить в графич.файле", "F4"},
        {A::SaveNumbers, "Сохранить числа графика (CSV)", ""},
        {A::SaveIntoSheet, "СохрГраф в электр.таблице", ""},
        {A::Print, "Печать", "F2"},
        {A::Captions, "Надписи вне рисунка", ""},
        {A::CaptionOnPicture, "Надписи на рисунке", ""},
    };
    if (KindRow(data_.kind).namesOffered)
        items.push_back({A::Names, "Добавить/удалить имена объектов", ""});
    items.push_back({A::Legend, "Добавить/удалить легенды", ""});
    items.push_back({A::Colour, "Добавить/удалить цвет", ""});
    items.push_back({A::Grid, "Добавить/удалить сетку", ""});
    return items;
}

bool TGra::ContextCommand(MenuAction action) {
    switch (action) {
        case MenuAction::SaveIntoSheet:
            SaveIntoSheet();
            return true;
        case MenuAction::Captions:
            Subs();
            return true;
        case MenuAction::CaptionOnPicture:
            CaptionAtPoint(true);
            return true;
        case MenuAction::Names:
            ToggleNames();
            return true;
        case MenuAction::Legend:
            ToggleLegend();
            return true;
        case MenuAction::Colour:
            SetgCl();
            return true;
        case MenuAction::Grid:
            gaxi();
            return true;
        default:
            return false;
    }
}

}  // namespace dalvex
