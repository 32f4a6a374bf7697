#include "graphics/tgra.h"

#include <algorithm>
#include <numbers>

#include "core/number.h"
#include "core/sheet_bridge.h"
#include "core/text.h"
#include "core/workspace.h"
#include "graphics/graph_scene.h"
#include "graphics/scatter3d.h"

namespace dalvex {

TGra::TGra(Workspace& ws) : ws_(ws) {}

namespace {

DrawingType DrawingOfKind(int kind, bool bars) {
    const GraphKindRow& row = KindRow(kind);
    if (row.business && row.drawing == DrawingType::Bars && !bars)
        return DrawingType::Lines;
    return row.drawing;
}

bool IsBusiness(DrawingType type) {
    return type == DrawingType::Bars || type == DrawingType::Lines || type == DrawingType::Pie;
}

}  // namespace

void TGra::FormIni(GraphData data, const SetupOptions& options) {
    data_ = std::move(data);
    s_ = GraphSettings{};
    type_ = DrawingOfKind(data_.kind, options.bars);
    if (KindRow(data_.kind).business)
        s_.effect3D = options.effect3D;
    if (data_.kind == KindTower)
        s_.stacking = 1;
    else if (data_.kind == KindTower100)
        s_.stacking = 2;
    else if (data_.kind == KindColourMap)
        s_.stacking = 3;
    ownStyles_.clear();
    if (data_.kind == KindDescribed)
        for (const SeriesDescription& d : data_.descriptions)
            ownStyles_.push_back(d.style);
    else
        ownStyles_.assign(data_.styles.begin(), data_.styles.end());
    stackingBeforePie_ = s_.stacking;
    // A pie of one variable divides it by its observations.
    if (data_.kind == KindPie && data_.seriesCount == 1)
        s_.categoryLabels = 1;
    if (options.pointNames >= 0) {
        s_.names = true;
        s_.nameSource = options.pointNames;
    }
    sourceNames_.clear();
    overlays_.clear();
    point_ = {};
    dragEdge_ = PlotEdge::None;
    marking_ = false;
    mapFirst_ = 0;
    mapSecond_ = 1;
    positions_.assign(static_cast<std::size_t>(std::max(MapCoordinates(), 0)), MapSteps / 2);
    ComputeMap();
    Relayout();
    Changed();
}

// ---------------------------------------------------------------------------
// Maps.

int TGra::MapCoordinates() const {
    if (type_ == DrawingType::Surface)
        return 2;
    if (type_ == DrawingType::SuperDiagram)
        return std::min(data_.seriesCount, data_.RowCount()) - 1;
    return 0;
}

void TGra::ComputeMap() {
    grid_ = {};
    const int dims = MapCoordinates();
    if (dims < 2)
        return;
    MapRequest request;
    for (int r = 0; r < dims; ++r)
        request.coordinates.emplace_back(data_.Row(r));
    request.value = data_.Row(dims);
    request.first = mapFirst_;
    request.second = mapSecond_;
    request.positions = positions_;
    request.smoothing = data_.smoothing;
    grid_ = ComputeLevelGrid(request);
}

void TGra::SetMapPlane(int first, int second) {
    const int dims = MapCoordinates();
    if (first == second || first < 0 || second < 0 || first >= dims || second >= dims)
        return;
    mapFirst_ = first;
    mapSecond_ = second;
    ComputeMap();
    Changed();
}

void TGra::SetInvisiblePosition(int coordinate, int position) {
    if (coordinate < 0 || coordinate >= static_cast<int>(positions_.size()))
        return;
    positions_[coordinate] = std::clamp(position, 0, MapSteps);
    ComputeMap();
    Changed();
}

int TGra::InvisiblePosition(int coordinate) const {
    if (coordinate < 0 || coordinate >= static_cast<int>(positions_.size()))
        return 0;
    return positions_[coordinate];
}

int TGra::seriesCount() const {
    if (IsBusiness(type_)) {
        const int rows = std::min(data_.seriesCount, data_.RowCount());
        if (s_.categoryLabels == 1)
            return std::max(rows, 1);
        std::size_t longest = 0;
        for (int r = 0; r < rows; ++r)
            longest = std::max(longest, data_.Row(r).size());
        return std::max(static_cast<int>(longest), 1);
    }
    return std::max(data_.seriesCount, 1);
}

// ---------------------------------------------------------------------------
// Layout and drawing.

void TGra::SetTextMetrics(int charWidth, int lineHeight) {
    charWidth_ = std::max(1, charWidth);
    lineHeight_ = std::max(1, lineHeight);
    Relayout();
    Changed();
}

void TGra::Resize(int width, int height) {
    if (width == clientWidth_ && height == clientHeight_)
        return;
    clientWidth_ = width;
    clientHeight_ = height;
    Relayout();
    Changed();
}

int TGra::PlotAreaHeight() const {
    return std::max(0, clientHeight_ - std::max(0, ws_.settings.reservedGraphHeight));
}

void TGra::Relayout() {
    const int w = charWidth_;
    const int h = lineHeight_;
    GraphLayout l;
    l.W = std::max(0, clientWidth_);
    l.H = PlotAreaHeight();
    l.left = 2 * w + 10;
    l.top = 20;
    l.width = l.W - 2 * w - 30;
    l.height = l.H - 45;
    const GraphCaptions& c = s_.captions;
    if (!c.x.empty())
        l.height -= h;
    if (!c.x.empty() || !c.y.empty()) {
        l.left = 3 * w + 20;
        l.width -= w + 10;
    }
    if (!c.bottom.empty())
        l.height -= 2 * h;
    const int kind = data_.kind;
    const GraphKindRow& row = KindRow(kind);
    if (row.nameColumnChars > 0) {
        l.left += row.nameColumnChars * w;
        l.width -= row.nameColumnChars * w;
    }
    if (s_.legend && row.legendRoom && (data_.seriesCount > 1 || kind > KindDistributions)) {
        l.width -= 12 * w;
        l.legend = true;
    }
    l.width -= row.extraRightRoom;
    l.width = std::max(l.width, 1);
    l.height = std::max(l.height, 1);
    layout_ = l;
}

void TGra::DG(Canvas& canvas) const {
    const Palette palette = MakePalette(s_.colourMode);
    const FontSetting& font = ws_.settings.GraphFont;
    const bool systemColour = (static_cast<std::uint32_t>(font.color) & 0x80000000u) != 0;
    const GraphColor text = s_.colourMode == ColourMode::Monochrome || systemColour
                                ? palette[PenColour]
                                : static_cast<GraphColor>(font.color) & 0xFFFFFF;
    const GraphPainter painter{canvas, palette, s_.lineWidth, text,
                               s_.colourMode == ColourMode::Monochrome};
    const GraphLayout& l = layout_;
    canvas.FillRect({0, 0, l.W - 1, l.H - 1}, palette[WindowBackground]);

    const GraphScene scene{painter, *this, data_, s_, l, ws_.decimalSeparator()};
    std::vector<LegendEntry> legend;
    if (l.width > 2 && l.height > 2) {
        legend = DrawingRoutine(type_)(scene);
        DrawCaptions(scene);
        if (l.legend)
            DrawLegend(scene, legend);
    }
    for (const GraphOverlay& o : overlays_) {
        if (!o.bitmap.empty())
            canvas.DrawBitmap(o.x, o.y, o.bitmap);
        if (!o.text.empty())
            painter.TxtOut(o.x, o.y, o.text, std::max(80, canvas.TextWidth(o.text) + 1));
    }
}

// ---------------------------------------------------------------------------
// Toggles.

namespace {

// Line, line and markers, markers, bars; then the series' own style when the
// method drew it otherwise (markers with rays, lines to partners, ...).
int NextSeriesStyle(int style, int own) {
    const bool ownIsPlain = own >= 0 && own <= 3;
    if (!ownIsPlain && style == own)
        return 0;
    if (!ownIsPlain && style == 3)
        return own;
    return ((style + 1) % 4 + 4) % 4;
}

}  // namespace

void TGra::MarkC() {
    const int series = s_.currentSeries;
    const int own = series < static_cast<int>(ownStyles_.size()) ? ownStyles_[series] : 0;
    if (type_ == DrawingType::Described) {
        if (series < static_cast<int>(data_.descriptions.size())) {
            std::int8_t& style = data_.descriptions[series].style;
            style = static_cast<std::int8_t>(NextSeriesStyle(style, own));
        }
    } else if (series < static_cast<int>(data_.styles.size())) {
        data_.styles[series] = NextSeriesStyle(data_.styles[series], own);
    }
    Changed();
}

void TGra::NlinC() {
    s_.currentSeries = (s_.currentSeries + 1) % seriesCount();
}

void TGra::NlinC1() {
    NlinC();
    Changed();
}

std::string TGra::SeriesButtonCaption() const {
    return std::to_string(s_.currentSeries + 1);
}

void TGra::SetgCl() {
    s_.colourMode =
        s_.colourMode == ColourMode::Colour ? ColourMode::Monochrome : ColourMode::Colour;
    Changed();
}

void TGra::gaxi() {
    s_.grid = !s_.grid;
    Changed();
}

void TGra::gDim() {
    if (type_ == DrawingType::Bars && s_.stacking == 0)
        s_.effect3D = (s_.effect3D + 1) % 3;
    else
        s_.effect3D = s_.effect3D != 0 ? 0 : 1;
    Changed();
}

void TGra::gForm() {
    switch (type_) {
        case DrawingType::Bars:
            type_ = DrawingType::Lines;
            break;
        case DrawingType::Lines:
            type_ = DrawingType::Pie;
            stackingBeforePie_ = s_.stacking;
            s_.stacking = 0;
            break;
        case DrawingType::Pie:
            type_ = DrawingType::Bars;
            s_.stacking = stackingBeforePie_;
            break;
        case DrawingType::Pairs:
        case DrawingType::Deviations:
            // Pairs without deviation rows have nothing to switch to.
            if (!HasDeviationRows())
                return;
            type_ = type_ == DrawingType::Pairs ? DrawingType::Deviations : DrawingType::Pairs;
            break;
        default:
            return;
    }
    Changed();
}

bool TGra::HasDeviationRows() const {
    return data_.kind == KindDeviations;
}

void TGra::Stack() {
    s_.stacking = type_ == DrawingType::Pie ? 0 : (s_.stacking + 1) % 3;
    Changed();
}

void TGra::axCh() {
    s_.categoryLabels = 1 - s_.categoryLabels;
    s_.currentSeries = 0;
    Changed();
}

void TGra::glWidth() {
    s_.lineWidth = s_.lineWidth % 6 + 1;
    Changed();
}

void TGra::sr3D() {
    s_.rotation = !s_.rotation;
    if (s_.rotation) {
        s_.angleXY = s_.angleXZ = s_.angleYZ = 0;
        s_.angleStep = 5 * std::numbers::pi / 180;
    }
    Changed();
}

void TGra::sProec3() {
    s_.projection = (s_.projection + 1) % 6;
    Changed();
}

std::string TGra::ProjectionCaption() const {
    static const char* const captions[6] = {"0", "X", "Y", "Z", "*", "+"};
    return captions[s_.projection % 6];
}

void TGra::Rotate(RotationPlane plane, int direction) {
    if (!s_.rotation)
        return;
    const double delta = direction * s_.angleStep;
    switch (plane) {
        case RotationPlane::XY:
            s_.angleXY += delta;
            break;
        case RotationPlane::XZ:
            s_.angleXZ += delta;
            break;
        case RotationPlane::YZ:
            s_.angleYZ += delta;
            break;
    }
    Changed();
}

bool TGra::SetRotationStep(const std::string& degrees) {
    const ParsedNumber n = ParseNumber(Trim(degrees));
    if (!n.ok())
        return false;
    s_.angleStep = n.value * std::numbers::pi / 180;
    return true;
}

void TGra::Sv3Dt() {
    if (type_ != DrawingType::Scatter3D)
        return;
    const std::vector<std::vector<Point3>> rotated = ScatterPoints(data_, s_);
    for (int p = 0; p < static_cast<int>(rotated.size()); ++p)
        for (std::size_t i = 0; i < rotated[p].size(); ++i) {
            data_.rows[3 * p][i] = rotated[p][i].x;
            data_.rows[3 * p + 1][i] = rotated[p][i].d;
            data_.rows[3 * p + 2][i] = rotated[p][i].z;
        }
    // The stored points are the rotated ones; turning them again from there.
    s_.angleXY = s_.angleXZ = s_.angleYZ = 0;
    Changed();
}

void TGra::Subs1() {
    s_.names = true;
    s_.nameSource = 1;
    Changed();
}

void TGra::Subs2() {
    s_.names = true;
    s_.nameSource = 0;
    Changed();
}

void TGra::ToggleNames() {
    s_.names = !s_.names;
    Changed();
}

void TGra::ToggleLegend() {
    s_.legend = !s_.legend;
    Relayout();
    Changed();
}

void TGra::SetCaptions(const GraphCaptions& captions) {
    s_.captions = captions;
    Relayout();
    Changed();
}

std::string TGra::PointName(int index) const {
    const std::vector<std::string>* names = &data_.observationLabels;
    if (s_.nameSource == 0)
        names = &data_.variableNames;
    else if (s_.nameSource >= 2)
        names = &sourceNames_;
    if (index < 0 || index >= static_cast<int>(names->size()))
        return {};
    return (*names)[index];
}

void TGra::NamesFromSheetColumn(int column) {
    sourceNames_.clear();
    std::size_t longest = 0;
    for (const std::vector<double>& row : data_.rows)
        longest = std::max(longest, row.size());
    if (!SheetGrid::InGrid(column, 1))
        return;
    for (std::size_t i = 0; i < longest && static_cast<int>(i) < SheetRows; ++i) {
        const int row = data_.SheetRowOf(static_cast<int>(i));
        sourceNames_.push_back(row > 0 ? Trim(ws_.sheet.Cell(column, row)) : std::string());
    }
}

std::vector<int> TGra::RowsToSave() const {
    std::vector<int> rows;
    const GraphKindRow& kind = KindRow(data_.kind);
    switch (kind.saving) {
        case SheetSaving::DescribedRows:
            for (const SeriesDescription& d : data_.descriptions) {
                rows.push_back(d.xRow);
                rows.push_back(d.yRow);
            }
            break;
        case SheetSaving::SeriesRows:
            for (int r = 0; r < kind.rowsPerSeries * data_.seriesCount; ++r)
                rows.push_back(r);
            break;
        case SheetSaving::Grid:
        case SheetSaving::None:
            break;
    }
    std::erase_if(rows, [this](int r) { return data_.Row(r).empty(); });
    return rows;
}

void TGra::SaveIntoSheet() {
    if (KindRow(data_.kind).saving == SheetSaving::Grid) {
        SaveGridIntoSheet();
        return;
    }
    for (int r : RowsToSave()) {
        const std::vector<double>& values = data_.Row(r);
        const int column = ws_.sheet.VariableCount() + 1;
        for (std::size_t i = 0; i < values.size(); ++i)
            if (!PutSheetValue(ws_, column, static_cast<int>(i), values[i]))
                return;
    }
}

// The map's grid in an emptied sheet: the two map coordinates of every cell
// and the value its level stands for.
void TGra::SaveGridIntoSheet() {
    if (grid_.empty())
        return;
    ws_.sheet.Reset();
    const int side = grid_.side;
    int obs = 0;
    for (int h = 0; h < side; ++h)
        for (int g = 0; g < side; ++g, ++obs) {
            const double a = grid_.first.min + grid_.first.span() * g / MapSteps;
            const double b = grid_.second.min + grid_.second.span() * h / MapSteps;
            if (!PutSheetValue(ws_, 1, obs, a) || !PutSheetValue(ws_, 2, obs, b) ||
                !PutSheetValue(ws_, 3, obs, grid_.ValueOf(grid_.at(g, h))))
                return;
        }
}

// ---------------------------------------------------------------------------
// The graph tool bar.

bool TGra::Acts(GraphAction action) const {
    using T = DrawingType;
    const T t = type_;
    const bool xy = t == T::Pairs || t == T::Deviations || t == T::Described || t == T::Ordered ||
                    t == T::BoxPlots;
    const bool business = IsBusiness(t);
    switch (action) {
        case GraphAction::LineWidth:
            return xy || t == T::Lines || t == T::Scatter3D || t == T::Tree;
        case GraphAction::SwapAxes:
        case GraphAction::Effect3D:
            return business;
        case GraphAction::Stacking:
            return t == T::Bars || t == T::Lines;
        case GraphAction::Form:
            return business || ((t == T::Pairs || t == T::Deviations) && HasDeviationRows());
        case GraphAction::SeriesStyle:
            return xy;
        case GraphAction::Grid:
            return xy || t == T::Bars || t == T::Lines || t == T::Scatter3D || t == T::Tree ||
                   t == T::FunctionSurface || t == T::Surface || t == T::SuperDiagram;
        case GraphAction::Rotation:
        case GraphAction::Projection:
            return t == T::Scatter3D;
        case GraphAction::NextSeries:
            return (xy || t == T::Pie) && seriesCount() > 1;
        case GraphAction::SaveIntoSheet:
            return !RowsToSave().empty() || !grid_.empty();
        case GraphAction::Captions:
        case GraphAction::Colour:
            return true;
    }
    return false;
}

bool TGra::Run(GraphAction action) {
    if (!Acts(action))
        return false;
    switch (action) {
        case GraphAction::LineWidth:
            glWidth();
            break;
        case GraphAction::SwapAxes:
            axCh();
            break;
        case GraphAction::Captions:
            Subs();
            break;
        case GraphAction::Stacking:
            Stack();
            break;
        case GraphAction::Effect3D:
            gDim();
            break;
        case GraphAction::Form:
            gForm();
            break;
        case GraphAction::SeriesStyle:
            MarkC();
            break;
        case GraphAction::Colour:
            SetgCl();
            break;
        case GraphAction::Grid:
            gaxi();
            break;
        case GraphAction::Rotation:
            sr3D();
            break;
        case GraphAction::Projection:
            sProec3();
            break;
        case GraphAction::NextSeries:
            NlinC1();
            break;
        case GraphAction::SaveIntoSheet:
            SaveIntoSheet();
            return true;
    }
    return false;
}

std::string TGra::ButtonText(GraphAction action) const {
    for (const GraphToolButton& button : GraphToolButtons())
        if (button.action == action) {
            if (action == GraphAction::Projection)
                return std::string(button.name) + " " + ProjectionCaption();
            if (action == GraphAction::NextSeries)
                return std::string(button.name) + " " + SeriesButtonCaption();
            return button.name;
        }
    return {};
}

}  // namespace dalvex
