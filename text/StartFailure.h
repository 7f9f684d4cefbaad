// What the launcher tells the user when the companion cannot be started.
#pragma once

#include <string>
#include <string_view>

// The reason a start failed, as a platform error code: the last error the
// start call left, which names it (elevation needed, access refused...), or
// where it left none, the call's own result (31 or less).
unsigned StartFailureCode(unsigned result, unsigned lastError);

// The error box's text: the path that was tried and, in plain words, why the
// start failed, for the platform's error `code`. Chinese (GBK bytes) when
// `chinese`, else English.
std::string StartFailureMessage(std::string_view path, unsigned code, bool chinese);
