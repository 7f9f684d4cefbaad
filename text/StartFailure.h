// What the launcher tells the user when the companion cannot be started.
#pragma once

#include <string>
#include <string_view>

// The error box's text: the path that was tried and, in plain words, why the
// start failed, for the platform's error `code`, the last error the start
// left (elevation needed, access refused...). Chinese (GBK bytes) when
// `chinese`, else English.
std::string StartFailureMessage(std::string_view path, unsigned code, bool chinese);
