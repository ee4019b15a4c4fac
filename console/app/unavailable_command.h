#pragma once

// The end of a command whose work this build does not do yet, called once its connection check has
// passed: its sub-options are walked as usual, then one line names the option and the run ends
// with the failure code of the sub-option that was asked for, never silently.
int ReportUnavailable(int argc, char* argv[], int& index);
