#pragma once

// Prints the help text.
void man();
