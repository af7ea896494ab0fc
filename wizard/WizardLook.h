#pragma once

// The look of the program: the toolkit's platform-neutral style and a compact font. The
// screenshot tool uses it too, so that its pictures show what users see.
void ApplyWizardLook();
