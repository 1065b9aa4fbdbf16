#pragma once
// What the renderers share: where their pictures go, and a window's client
// area saved under a caption strip like a title bar's, so the title shows.
#include <QString>

class QWidget;

namespace shots {

// The folder named by the first argument, else "shots"; made if missing.
QString OutputDir(int argc, char** argv);

// Saves the widget with a caption strip as DIR/NAME.png and prints the path.
bool Save(QWidget* widget, const QString& dir, const QString& name);
// Saves the widget as it is, without a strip, as DIR/FILE; prints the path.
bool SavePlain(QWidget* widget, const QString& dir, const QString& file);

} // namespace shots
