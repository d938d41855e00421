#pragma once

// The button a message box of this style answers with when Enter is pressed at once: the
// default button (MB_DEFBUTTON1 to 4) of its button set. A silent uninstall answers every
// box that a script or the system code asks with it.
[[nodiscard]] int DefaultMessageBoxAnswer(unsigned style);
