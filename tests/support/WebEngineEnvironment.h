#pragma once
// What the web pane's engine needs to start in a test program (any test that enters web
// mode starts it): called by the test main before the QApplication is made.

void prepareWebEngineForTests();
