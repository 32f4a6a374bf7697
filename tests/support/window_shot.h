// A window saved as a PNG for a person to look at, when DALVEX_SHOT_DIR
// names a folder; without it the view tests save nothing.
#pragma once

#include <QByteArray>
#include <QString>
#include <QWidget>

namespace dalvex {

inline void Shot(QWidget& widget, const QString& name) {
    const QByteArray dir = qgetenv("DALVEX_SHOT_DIR");
    if (!dir.isEmpty())
        widget.grab().save(QString::fromUtf8(dir) + "/" + name + ".png");
}

}  // namespace dalvex
