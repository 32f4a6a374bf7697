// A graph window's behaviour (`TGra`): its own copy of the graph it was
// handed, the drawing state the tool bar and the context menu toggle, the
// layout of the plot, the mouse and keys, and the texts and pictures the
// person put on the graph. Drawing goes to any canvas; the Qt window only
// shows the image and forwards events.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "graphics/canvas.h"
#include "graphics/graph_data.h"
#include "graphics/graph_kinds.h"
#include "graphics/graph_tool_bar.h"
#include "graphics/level_grid.h"
#include "graphics/palette.h"

namespace dalvex {

struct Workspace;

struct GraphLayout {
    int W = 0;  // the image
    int H = 0;
    int left = 0;  // the plot
    int top = 0;
    int width = 0;
    int height = 0;
    bool legend = false;  // room for the legend right of the plot
    int right() const { return left + width; }
    int bottom() const { return top + height; }
    bool operator==(const GraphLayout&) const = default;
};

struct GraphCaptions {
    std::string x, y, z, bottom;
    bool empty() const { return x.empty() && y.empty() && z.empty() && bottom.empty(); }
    bool operator==(const GraphCaptions&) const = default;
};

// What the toggles change. One set per window.
struct GraphSettings {
    int stacking = 0;  // 0 side by side, 1 tower, 2 100 % tower, 3 colour map
    int effect3D = 0;  // 0 off, 1 on, 2 deep (bars only)
    bool grid = false;
    int lineWidth = 2;  // 1..6; above 4 drawn one pixel wide
    int currentSeries = 0;
    int categoryLabels = 0;  // 0 variable names, 1 observation numbers
    ColourMode colourMode = ColourMode::Colour;
    bool rotation = false;
    double angleXY = 0, angleXZ = 0, angleYZ = 0;  // radians
    double angleStep = 0.0872664626;               // 5 degrees
    int projection = 0;                            // 0..5: "0", "X", "Y", "Z", "*", "+"
    GraphCaptions captions;
    bool names = false;
    int nameSource = 1;  // 1 row labels, 0 variable names, k >= 2 sheet column k - 1
    bool legend = false;
};

enum class PlotEdge { None, Left, Right, Top, Bottom };
enum class PointerShape { Arrow, SizeHorizontal, SizeVertical };

// The spot marked with the mouse for a caption or a pasted picture; with a
// width and height it is the rectangle copied to the clipboard.
struct InsertionPoint {
    int x = -1;
    int y = 0;
    int width = 0;
    int height = 0;
    bool marked() const { return x >= 0; }
};

// A text written on the graph, or a picture pasted onto it: kept with the
// window and drawn over every redraw, save and print.
struct GraphOverlay {
    int x = 0;
    int y = 0;
    std::string text;
    Bitmap bitmap;
};

enum class RotationPlane { XY, XZ, YZ };

// The graph menu's check boxes, read by the business kinds at set-up.
struct SetupOptions {
    bool bars = true;
    int effect3D = 0;
    int pointNames = -1;  // names on from this source (Subs1: 1, Subs2: 0); -1 off
};

class TGra {
  public:
    explicit TGra(Workspace& ws);

    // `TGra.FormIni`: sets the window up for the kind of `data`, which it keeps.
    void FormIni(GraphData data, const SetupOptions& options = {});
    const GraphData& data() const { return data_; }
    int kind() const { return data_.kind; }
    DrawingType drawingType() const { return type_; }
    const std::string& title() const { return data_.title; }
    const GraphSettings& settings() const { return s_; }
    int seriesCount() const;

    // --- the window -----------------------------------------------------------
    // Width of "b" and height of "W" in the graph font.
    void SetTextMetrics(int charWidth, int lineHeight);
    // The window's client size; the image is that less the reserved height.
    void Resize(int width, int height);
    const GraphLayout& layout() const { return layout_; }
    // `TGra.DG`: the whole image, overlays included.
    void DG(Canvas& canvas) const;
    // Grows with every change that needs a redraw.
    unsigned revision() const { return revision_; }

    // --- tool bar and menu toggles ------------------------------------------------
    // Whether the tool-bar button changes anything on this graph; a button
    // that would do nothing for the graph's kind is shown disabled.
    bool Acts(GraphAction action) const;
    // Carries out a tool-bar button. True when it wrote into the sheet.
    bool Run(GraphAction action);
    // What the button shows: the projection and the current series show
    // their state, the others their name.
    std::string ButtonText(GraphAction action) const;
    void MarkC();
    void NlinC();
    void NlinC1();
    std::string SeriesButtonCaption() const;
    void SetgCl();
    void gaxi();
    void gDim();
    void gForm();
    void Stack();
    void axCh();
    void glWidth();
    void sr3D();
    void sProec3();
    std::string ProjectionCaption() const;
    void Sv3Dt();
    void Rotate(RotationPlane plane, int direction);
    // The "Угол=" edit, in degrees; false when the text is not a number.
    bool SetRotationStep(const std::string& degrees);
    // The captions dialog "Надписи для графика".
    void Subs();
    void Subs1();  // names on, from the row labels
    void Subs2();  // names on, from the variable names
    void ToggleNames();
    void ToggleLegend();
    void SetCaptions(const GraphCaptions& captions);
    // "СохрГраф в электр.таблице": the graph's rows as new sheet variables.
    void SaveIntoSheet();

    // --- mouse and keys -------------------------------------------------------------
    PlotEdge EdgeAt(int x, int y) const;
    PointerShape ShapeAt(int x, int y) const;
    void PointerPressed(int x, int y);
    void PointerDragged(int x, int y);
    void PointerReleased(int x, int y);
    // The inverted frame that follows the pointer while an edge is dragged.
    std::optional<PixelRect> DragFrame() const;
    const InsertionPoint& insertionPoint() const { return point_; }
    // Space, or "Надписи на рисунке": asks for a text and writes it at the
    // insertion point; without one, tells how to mark it (only when asked
    // from the menu).
    void CaptionAtPoint(bool fromMenu);
    void AddText(int x, int y, const std::string& text);
    // A picture at the insertion point, or at the top left corner.
    void PasteBitmap(Bitmap bitmap);
    const std::vector<GraphOverlay>& overlays() const { return overlays_; }
    // What Shift+Insert copies: the marked rectangle, or the whole image.
    PixelRect CopyRect() const;

    // --- context menu -----------------------------------------------------------------
    enum class MenuAction {
        SaveImage,
        SaveNumbers,  // the graph's numbers as a CSV file
        SaveIntoSheet,
        Print,
        Captions,
        CaptionOnPicture,
        Names,
        Legend,
        Colour,
        Grid,
    };
    struct MenuItem {
        MenuAction action;
        const char* caption;
        const char* key;
    };
    // The items this kind offers (no names for the business kinds).
    std::vector<MenuItem> ContextMenu() const;
    // Carries out the items the model handles; saving and printing belong to
    // the window and return false here.
    bool ContextCommand(MenuAction action);

    // The text beside point `index` with the current name source.
    std::string PointName(int index) const;

    // --- maps (smoothing surface, map, superdiagram) ----------------------------------
    // The value interpolated over the grid, computed when the graph is set up
    // and when the superdiagram's plane or invisible coordinates change.
    const LevelGrid& levelGrid() const { return grid_; }
    // Coordinates of the superdiagram (every row but the value's last one).
    int MapCoordinates() const;
    int mapFirst() const { return mapFirst_; }
    int mapSecond() const { return mapSecond_; }
    // "Управление плоскостью карты": the two coordinates that form the plane.
    void SetMapPlane(int first, int second);
    // "Управление невидимой координатой": a coordinate off the plane fixed at
    // min + position / 25 of its range.
    void SetInvisiblePosition(int coordinate, int position);
    int InvisiblePosition(int coordinate) const;

  private:
    void Changed() { ++revision_; }
    void Relayout();
    int PlotAreaHeight() const;
    void NamesFromSheetColumn(int column);
    // The rows "СохрГраф в электр.таблице" writes for this kind.
    std::vector<int> RowsToSave() const;
    // The X-Y plain/deviations switch needs data with deviation rows.
    bool HasDeviationRows() const;

    Workspace& ws_;
    GraphData data_;
    DrawingType type_ = DrawingType::Pairs;
    GraphSettings s_;
    // The series styles the method asked for: the style toggle comes back
    // to them after the four plain styles.
    std::vector<int> ownStyles_;
    // The stacking the bars or lines had before they became a pie.
    int stackingBeforePie_ = 0;
    GraphLayout layout_;
    int clientWidth_ = 0;
    int clientHeight_ = 0;
    int charWidth_ = 7;
    int lineHeight_ = 14;
    std::vector<std::string> sourceNames_;  // names from a sheet column (source >= 2)
    InsertionPoint point_;
    PlotEdge dragEdge_ = PlotEdge::None;
    PixelPoint dragAt_;
    bool marking_ = false;
    std::vector<GraphOverlay> overlays_;
    unsigned revision_ = 0;
    void ComputeMap();
    void SaveGridIntoSheet();
    LevelGrid grid_;
    int mapFirst_ = 0;
    int mapSecond_ = 1;
    std::vector<int> positions_;
};

}  // namespace dalvex
