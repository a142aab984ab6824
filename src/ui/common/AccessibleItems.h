#pragma once

// Qt Quick's items as assistive technology is told of them, mending what Qt 6.4 leaves out: an item reports
// the rectangle it is drawn in, transforms included (the face's controls are scaled with their canvas to the
// window, and Qt would report their unscaled size); a disabled item says so and offers no action (the face
// behind an open sheet); a dialog is modal; only the control the keys are on is focused; a control's first
// action is its click, each listed once; nothing is reported of items in no window, and an alert is said
// once per message. Installed once, after Qt Quick has started.
namespace AccessibleItems {
void install();
}
