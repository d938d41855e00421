#include "app/pages/default_answer.h"

namespace {

// The message box answers (IDOK ... IDCONTINUE) of each button set, in button order.
constexpr int kOk = 1, kCancel = 2, kAbort = 3, kRetry = 4, kIgnore = 5, kYes = 6, kNo = 7, kTryAgain = 10,
              kContinue = 11;

struct ButtonSet {
    int buttons[3];
    int count;
};

// Indexed by the style's button bits (MB_OK = 0 ... MB_CANCELTRYCONTINUE = 6).
constexpr ButtonSet kButtonSets[] = {
    {{kOk}, 1},
    {{kOk, kCancel}, 2},
    {{kAbort, kRetry, kIgnore}, 3},
    {{kYes, kNo, kCancel}, 3},
    {{kYes, kNo}, 2},
    {{kRetry, kCancel}, 2},
    {{kCancel, kTryAgain, kContinue}, 3},
};

constexpr unsigned kButtonMask = 0x0F;
constexpr unsigned kDefaultButtonMask = 0xF00;
constexpr unsigned kDefaultButtonShift = 8;

}

int DefaultMessageBoxAnswer(unsigned style)
{
    const unsigned set = style & kButtonMask;
    if (set >= sizeof kButtonSets / sizeof kButtonSets[0])
        return kOk; // a button set the system does not know shows OK
    const ButtonSet& buttons = kButtonSets[set];
    // A default button beyond the set (MB_DEFBUTTON3 on a Yes/No box) falls back to the first,
    // as the system does.
    const unsigned index = (style & kDefaultButtonMask) >> kDefaultButtonShift;
    return buttons.buttons[index < static_cast<unsigned>(buttons.count) ? index : 0];
}
