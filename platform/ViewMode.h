#pragma once
// The main window's shape as every part of the program names it: the seven modes of the
// right-hand pane and the seven tool bands of the band container, in their design order.
// Plain enums (no Qt widgets), so that settings, engines and panes can all use them.

#include <QtGlobal>

// The seven modes of the right-hand pane; the numbers are stored (FVModeCurrent, band layouts).
enum TViewMode : quint8 {
    vmFileManager = 0,
    vmWebBrowser = 1,
    vmFileViewer = 2,
    vmTextEditor = 3,
    vmMoviePlayer = 4,
    vmImageViewer = 5,
    vmZipViewer = 6,
};
constexpr int kViewModeCount = 7;

// The seven tool bands in their design order (rows: 0-2, 3-5, 6); stored in band layouts.
enum BandIndex {
    bandGlobal, bandMovie, bandImage, bandBrowser, bandTextEditor, bandView, bandFileManger, kBandCount
};
// A pane that shows no band of its own beside ToolBarGlobal.
constexpr int kNoBand = -1;
