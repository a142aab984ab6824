#pragma once

// Qt Quick's items as assistive technology is told of them, mending what Qt 6.4 leaves out: an item reports
// the rectangle it is drawn in, transforms included (the face's controls are scaled with their canvas to the
// window, and Qt would report their unscaled size); a disabled item says so and offers no action (the face
// behind an open sheet); a dialog is modal; items in no window are not reported shown or hidden. Installed
// once, after Qt Quick has started.
namespace AccessibleItems {
void install();
}
