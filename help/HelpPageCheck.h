// Recognises help pages that a damaged compressed stream has turned into garbage. A help file
// carries no checksums and the decompressor accepts much damaged data, so a page is checked for
// what every intact page has: UTF-8 text without control characters, one <html> element with a
// body, and balanced angle brackets.
#pragma once

#include <string_view>

bool isIntactHelpPage(std::string_view html);
