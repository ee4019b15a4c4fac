#include "help_text.h"

#include "command_handlers.h"
#include "console_output.h"
#include "exit_codes.h"

#include <iterator>

namespace {
// The usage lines exactly as scripts and users have always seen them (the -wsn line keeps its tabs).
constexpr const char* kHelpLines[] = {
    "Orvane Korvex Programmer V3.0.12",
    " Usage : ",
    "    Korvex_Console.exe  [options] [Agrument][[options] [Agrument]...] ",
    "     -?                       Show this help.",
    "     -device                  Set device,e.g ZR32S07RGT7.You must set device when the device access protection.",
    "     -connect                 Establish connection.",
    "     -e                       Erase flash.",
    "       --all                  Erase all sectors of flash,SPIM(SPIM enabled),boot memory(AP mode enabled).",
    "         --flash              Erase all sectors of flash(--all --flash).",
    "         --spim               Erase all sectors of SPIM(--all --spim).",
    "         --bootm              Erase all sectors of boot memory(--all --bootm).",
    "       --sec n-m              Erase selected sectors, begin_sector-end_sector, e.g 0-20.",
    "     -eble                    Erase BLE module flash.",
    "       --all                  Erase all space of BLE module.",
    "         --main               Erase all sectors of main code space(--all --main).",
    "         --nvr                Erase all sectors of NVR space(--all --nvr).",
    "         --rdn                Erase all sectors of RDN space(--all --rdn).",
    "       --sec n-m              Erase selected sectors of main space,begin_sector-end_sector,e.g 0-20.",
    "     -u                       Upload flash contents to the specified file.",
    "       --sec n-m              Upload selected sectors,begin_sector-end_sector,e.g 0-20.",
    "       --fn file_name         Full path name (bin, hex file;the file type is recognized by its extension).",
    "     -uble                    Upload BLE module main code space flash contents to the specified file.",
    "       --sec n-m              Upload selected sectors,begin_sector-end_sector,e.g 0-20.",
    "       --fn file_name         Full path name (bin, hex file;the file type is recognized by its extension).",
    "     -d                       Download the content of the specified file into flash.",
    "       --a   address(hex)     Start addres,default 0x08000000;ignored if the target file is not a binary file.",
    "       --fn  file_name        Full path name (bin, hex file;the file type is recognized by its extension).",
    "       --v                    Verify after download.",
    "       --ne                   Do not erase the sector before downloading the file.",
    "     -usd                     Set user system data to MCU.",
    "       --get --fn file_name   Get user system data from the device and write it to the specified file, full path name (bin/hex file,the file type is recognized by its extension).",
    "       --set --fn file_name   Load user system data from the specified file and write it to the device, full path name (bin/hex file,the file type is recognized by its extension).",
    "     -p                       Enable or disable protection.",
    "       --efap1                Enable access protection, all options following this one will fail.",
    "       --efap2                Enable high level access protection, all options following this one will fail.",
    "         --y                  If the MCU is ZR32S15/S18/S29/S16/S19/S20/S21/S22/S23/S30/S25/S26/S28/S33/S34/S35/S36, you must enter \"--y\" for confirmation. (--efap2 --y).",
    "       --dfap                 Disable flash access protection.",
    "       --depp                 Disable erase and program protection.",
    "       --eepp n-m             Enable erase and program protection for sector codes,begin_sector-end_sector,e.g 0-20.",
    "       --ebfap                Enable BLE module access protection.",
    "       --dbfap                Disable BLE module access protection.",
    "     -enspim                  Enable to access SPIM.",
    "       --ft type              SPIM flash type,value 1 or 2,default value 1.",
    "       --fs size              SPIM flash size (MB).",
    "       --fda FDA(HEX)         SPIM FLASH_DA, hexadecimal.",
    "       --remap 0/1            Remap IO pin used by SPIM.",
    "                                0: remap0(Use PA11/PA12 pins).",
    "                                1: remap1(Use PB10/PB11 pins).",
    "     -bmapm                   Set boot memory AP mode.",
    "       --key value            Hexadecimal, must be 0x5C3E91B7.",
    "     -wsn\t\t\t\t\t   Write software serial number.",
    "       --ne                   Do not erase the sector before writing SN.",
    "     -w4                      MCU Debug mode,write 32-bit data.",
    "       addr                   The address of the data to be written,32 bit address,e.g 20000000.",
    "       value                  The value of the data to be written,32 bit data.e.g 00112233.",
    "     -w2                      MCU Debug mode,write 16-bit data.",
    "       addr                   The address of the data to be written,32 bit address,e.g 20000000.",
    "       value                  The value of the data to be written,16 bit data.e.g 0011.",
    "     -mem32                   MCU Debug mode,read 32-bit data.",
    "       addr                   The address of the data to be read,32 bit address,e.g 08000000.",
    "     -mem16                   MCU Debug mode,read 16-bit data.",
    "       addr                   The address of the data to be read,32 bit address,e.g 08000000.",
    "     -r                       Reset and run. When MCU access protection, this command is invalid.",
};
static_assert(std::size(kHelpLines) == 63, "the help text has 63 lines");
} // namespace

void man()
{
    for (const char* line : kHelpLines)
        PrintLine(line);
}

int ShowHelp(int, char*[], int& index)
{
    man();
    ++index;
    return OP_SUCCESS;
}
