#pragma once

// Every option's handler has one shape: the count of arguments after the program name, those
// arguments (null after the last), and the index of the handler's own option. The handler
// consumes its sub-options and values, leaves the index on the next option or past the end,
// and returns an exit code (exit_codes.h).
using CommandHandler = int (*)(int argc, char* argv[], int& index);

int ShowHelp(int argc, char* argv[], int& index);              // -?       help_text.cpp
int SetDevice(int argc, char* argv[], int& index);             // -device  device_command.cpp
int Connect(int argc, char* argv[], int& index);               // -connect connect_command.cpp
int Erase(int argc, char* argv[], int& index);                 // -e       erase_command.cpp
int EraseBLE(int argc, char* argv[], int& index);              // -eble    erase_ble_command.cpp
int Download(int argc, char* argv[], int& index);              // -d       download_command.cpp
int Upload(int argc, char* argv[], int& index);                // -u       upload_command.cpp
int UploadBLE(int argc, char* argv[], int& index);             // -uble    upload_command.cpp
int ProgramUserSystemData(int argc, char* argv[], int& index); // -usd     usd_command.cpp
int Protection(int argc, char* argv[], int& index);            // -p       protect_command.cpp
int EnableSPIM(int argc, char* argv[], int& index);            // -enspim  spim_command.cpp
int BootMemoryAPMode(int argc, char* argv[], int& index);      // -bmapm   spim_command.cpp
int WriteSN(int argc, char* argv[], int& index);               // -wsn     serial_number_command.cpp
int DownLoadOTPData(int argc, char* argv[], int& index);       // -otp     otp_command.cpp
int DebugRead(int argc, char* argv[], int& index);             // -mem32, -mem16  debug_command.cpp
int DebugWrite(int argc, char* argv[], int& index);            // -w4, -w2        debug_command.cpp
int ResetAndRun(int argc, char* argv[], int& index);           // -r       reset_command.cpp
