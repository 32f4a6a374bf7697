// A graph window's graph as a picture: rendered in the graph font, and saved
// as a ".bmp" or ".png" file. The batch runner saves the graphs of a command
// this way without any window.
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

// Draws `graph` at width x height in the workspace's graph font and writes it
// to `path`. Returns the error text, empty on success.
std::string SaveGraphImage(TGra& graph, const Workspace& ws, const std::string& path,
                           int width = 800, int height = 600);

}  // namespace dalvex
