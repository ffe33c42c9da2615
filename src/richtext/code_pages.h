// The 8-bit characters of rich text: the Windows code pages by table and the code page of
// a font's character set.
#pragma once

#include <QChar>

namespace vorla {

// The character of an 8-bit code: code pages 1250 and 1252 by table, others as 1252.
QChar CodePageChar(int codePage, unsigned char byte);

// The code page of an RTF font character set (\fcharset); 0 and 1 (ANSI, default) give the
// document's code page, unknown sets 1252.
int CodePageOfCharset(int charset, int documentCp);

}  // namespace vorla
