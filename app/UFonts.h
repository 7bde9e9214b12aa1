#pragma once

#include <QFont>

// The programs' one typeface, 宋体 (drawn with Noto Serif CJK where the
// system has no font of that name), at a size in pixels of the design grid.
QFont SongFont(int pixelSize, bool bold = false);
