// A graph window's view: shows the image its `TGra` draws and forwards the
// mouse, the keys and the context menu to it; copies, pastes, saves and
// prints the picture. The rotation panel stands at the right while rotation
// is on; the superdiagram's coordinate panel stands there in its map view.
#pragma once

#include <QImage>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

class QLineEdit;
class QPrinter;
class QScrollBar;

namespace dalvex {

class TGra;
struct Workspace;

class GraphView : public QWidget {
    Q_OBJECT
  public:
    GraphView(Workspace& ws, TGra& graph, QWidget* parent = nullptr);

    TGra& graph() { return graph_; }
    // The picture as it stands, drawn again when the graph changed.
    const QImage& image();

    // Shift+Insert: the graph, or the marked rectangle, as a bitmap.
    void CopyToClipboard();
    // Ctrl+Insert: a clipboard bitmap at the insertion point; anything else
    // on the clipboard does nothing.
    void PasteFromClipboard();
    // A picture file laid on the graph like a pasted bitmap.
    void OpenPicture(const QString& path);
    // Asks for a file name and saves; ".bmp" unless PNG, SVG or PDF was
    // chosen. SVG and PDF are drawings at the window's size.
    void SaveAs();
    // "Сохранить числа графика (CSV)": the numbers behind the graph.
    void SaveNumbersAs();
    // By the name's extension: the window's picture (".png", ".bmp"), a
    // drawing (".svg", ".pdf") or the numbers (".csv"). Returns the error
    // text, empty when saved.
    std::string SaveImage(const QString& path);
    // The picture stretched to the printer page, keeping its proportions.
    bool Print(QPrinter& printer);
    // The graph font changed.
    void ApplyFont();
    // A toggle changed the graph from outside.
    void Refresh();

    // How a file name is asked for; tests answer without a dialog.
    using PathChooser = std::function<QString(const QString& filter)>;
    void SetPathChooser(PathChooser chooser) { choosePath_ = std::move(chooser); }
    // While it answers true the window resizes without drawing (closing).
    void SetFrozen(std::function<bool()> frozen) { frozen_ = std::move(frozen); }

  signals:
    void activated();
    // The graph wrote its data into the sheet.
    void sheetChanged();
    // The context menu's "Печать".
    void printRequested();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void BuildRotationPanel();
    void UpdateRotationPanel();
    // The superdiagram's coordinate panel: the map plane and a scroll bar for
    // each coordinate off it.
    void BuildCoordinatePanel();
    void UpdateCoordinatePanel();
    int PanelWidth() const;
    void SizeGraph();
    void ShowContextMenu(const QPoint& at);
    void Notice(const std::string& text);

    Workspace& ws_;
    TGra& graph_;
    QFont font_;
    QImage image_;
    unsigned drawnRevision_ = ~0u;
    QWidget* rotationPanel_ = nullptr;
    QLineEdit* angleEdit_ = nullptr;
    QWidget* coordinatePanel_ = nullptr;
    QScrollBar* planeBar_ = nullptr;
    std::vector<QScrollBar*> coordinateBars_;
    // The rows the panel was built for; a reused window with another
    // superdiagram builds it again.
    std::vector<std::vector<double>> panelRows_;
    PathChooser choosePath_;
    std::function<bool()> frozen_;

    void SaveChosen(const QString& filter, const QString& defaultSuffix);
};

}  // namespace dalvex
