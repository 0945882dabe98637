#pragma once

#include <string>
#include <string_view>

namespace kavo {

// The model holds text as UTF-8. Case documents are UTF-8 too; documents written by older versions
// are 8-bit text in the Windows-1252 code page. These functions tell the two apart and convert.

bool IsValidUtf8(std::string_view bytes);
// Every byte as the character it stands for in Windows-1252, encoded in UTF-8. The five bytes that
// code page leaves undefined become the control characters of the same number.
std::string Windows1252ToUtf8(std::string_view bytes);
// The text of a case document as UTF-8: valid UTF-8 stays as it is; a document that declares
// UTF-8 keeps its valid sequences and reads each stray byte as Windows-1252; any other document
// is Windows-1252 throughout.
std::string DecodeCaseDocument(std::string_view bytes);
// Whether the text holds any byte outside 7-bit ASCII.
bool HasNonAscii(std::string_view text);

}  // namespace kavo
