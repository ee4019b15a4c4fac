#pragma once

// Prints the start banner: rules, the product name in block letters and the version line.
void PrintBanner();
