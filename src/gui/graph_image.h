// A graph window's graph as a picture: rendered in the graph font, and saved
// as a ".bmp" or ".png" image, a ".svg" or ".pdf" drawing (lines and text
// kept as such, so the text stays text), or its numbers as ".csv". The batch
// runner saves the graphs of a command this way without any window.
#pragma once

#include <QFont>
#include <QImage>
#include <string>

namespace dalvex {

class TGra;
struct Workspace;

// The graph font of the settings, sized in pixels.
QFont GraphQFont(const Workspace& ws);
// Tells the graph the widths it lays out with ("b" and "W" in the font).
void SetGraphFont(TGra& graph, const QFont& font);
// The whole image W x H, overlays included.
QImage RenderGraph(const TGra& graph, const QFont& font);
// Writes an image file, as BMP when the name ends in ".bmp" (any case) and
// PNG otherwise. Returns the error text, empty on success.
std::string WriteGraphImage(const QImage& image, const std::string& path);

// The graph at its present size written to `path` in the form its extension
// names: ".svg" and ".pdf" drawn as vectors, ".csv" the graph's numbers,
// anything else through WriteGraphImage. Returns the error text, empty on
// success.
std::string WriteGraphFile(const TGra& graph, const QFont& font, const std::string& path);

// Draws `graph` at width x height in the workspace's graph font and writes it
// to `path` as WriteGraphFile does. Returns the error text, empty on success.
std::string SaveGraphImage(TGra& graph, const Workspace& ws, const std::string& path,
                           int width = 800, int height = 600);

}  // namespace dalvex
