#pragma once
// Installs the window-level services of the platform layer: the progress window of the file
// operation and, where the build has Qt Multimedia, the media player. The program calls it
// once at start, after creating its QApplication.

void InstallPlatformUi();
