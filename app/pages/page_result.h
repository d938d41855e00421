#pragma once

// The outcome of a page as scripts see it.
enum PageResult : int {
    PageBack = 1,
    PageNext = 2,
    PageCancel = 3,
    PageRebootInstall = 4,
    PageFinish = 5,
};
