#pragma once

#include <QIcon>

// The pictures of the preview's buttons, drawn by the program so that no
// image files have to be shipped.
enum class TfrPicture { PageSetup, Print, Zoom, Close, Pdf, FirstPage, PriorPage, NextPage, LastPage };

QIcon PreviewPicture(TfrPicture picture);
