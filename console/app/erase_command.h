#pragma once

// Whole-memory erases of -e; each prints its own lines. True on success.
bool MainFlashErase();
bool SPIMErase();
bool BootMemoryErase();
// Main flash, then SPIM when present and enabled, then boot memory when in AP mode; an exit code.
int AllErase();
