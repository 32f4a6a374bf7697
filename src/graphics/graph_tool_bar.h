// The main window's graph tool bar as data: every button names the toggle
// of the current graph window it carries out, with its own name and a tooltip
// that says what it does. Which buttons act on a graph, and what they do, is
// the graph's business (`TGra::Acts`, `TGra::Run`); the window only shows the
// buttons and forwards a press.
#pragma once

#include <vector>

namespace dalvex {

enum class GraphAction {
    LineWidth,      // "Линии": `TGra.glWidth`
    SwapAxes,       // "Смена осей": `TGra.axCh`
    Captions,       // "Надписи": `TGra.Subs`
    Stacking,       // "Накопл.диагр": `TGra.Stack`
    Effect3D,       // "3-мерность": `TGra.gDim`
    Form,           // the graph's form: `TGra.gForm`
    SeriesStyle,    // the current series' form: `TGra.MarkC`
    Colour,         // "Цвет": `TGra.SetgCl`
    Grid,           // "Сетка": `TGra.gaxi`
    Rotation,       // "Вращение": `TGra.sr3D`
    Projection,     // "Проекция": `TGra.sProec3`
    NextSeries,     // "Nграфик": `TGra.NlinC1`
    SaveIntoSheet,  // "СохрГраф в электр.табл."
};

struct GraphToolButton {
    GraphAction action;
    const char* name;  // the button's own name, also its text in the overflow menu
    const char* tip;   // what the button does
};

// The buttons in the order they stand on the tool bar.
const std::vector<GraphToolButton>& GraphToolButtons();

}  // namespace dalvex
