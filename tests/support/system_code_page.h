#pragma once
#include "platform/code_page.h"

// The code page the portable tests run with: code page 932 through iconv natively, the real
// ANSI code page (932 in the test prefix) under Windows.
const CodePage& SystemCodePage();
