// The system's text for a status code, as the platform's message formatter gives it for the
// codes this program meets. The platform ends its texts with a line break; these are given
// without it, so the caller decides the layout. A code the system has no text for (for example a
// FACILITY_ITF code, whose meaning belongs to the component that returned it) gives an empty text
// and false, as the formatter fails for it; the caller then shows what it chooses for "no text".
#pragma once

#include <string>
#include <string_view>

#include "platform/com/hresult.h"

namespace com {

// The text, or empty when the system has none.
std::string_view SystemErrorText(HRESULT hr);
bool HasSystemErrorText(HRESULT hr);

// The formatter's form: true and the text in `text`, or false with `text` emptied.
bool FormatSystemMessage(HRESULT hr, std::string& text);

}  // namespace com
