#pragma once

struct FlowContext;

// The uninstall without a script: the progress page, then the finish page. True when the
// progress page ended with OK.
bool RunDefaultFlow(const FlowContext& flow);
