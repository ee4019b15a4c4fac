#pragma once

// Whole-memory erases of -e; each prints its own lines. True on success.
bool MainFlashErase();
bool SPIMErase();
bool BootMemoryErase();
// Main flash, then SPIM when present and enabled, then boot memory when in AP mode; an exit code.
int AllErase();

// A --sec range text that names no range: missing, or another option or sub-option.
bool IsMissingRangeText(const char* text);

// "Error. bad parameter " and the text; returns OP_BAD_PARAM.
int BadParameter(const char* text);
