// The accessible names a window's controls take from what they show.
#pragma once

class QWidget;

namespace zk {

// Every control of `window` without an accessible name takes its caption (a
// button's text, a frame's title), the text of the label that is its buddy,
// or its own text (a label).
void NameByCaptions(QWidget *window);

}  // namespace zk
