#pragma once

#include <functional>

// The loop of every editing dialog: show; on OK run the business operation; when it raises
// an error show its message (ShowInfo), run onError, and show again; Cancel ends the loop.
// A silent EAbort from the operation passes through. Returns true when the operation
// succeeded.
bool RunEditLoop(const std::function<bool()>& show, const std::function<void()>& apply,
                 const std::function<void()>& onError = {});
