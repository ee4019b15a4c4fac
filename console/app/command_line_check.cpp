#include "command_line_check.h"

#include "console_output.h"
#include "exit_codes.h"
#include "file_open_lines.h"
#include "option_test.h"
#include "sub_option_walk.h"

#include "file_io.h"

#include <filesystem>
#include <set>
#include <string>

namespace {

std::string Canonical(const std::string& path)
{
    std::error_code ignored;
    return std::filesystem::absolute(path, ignored).lexically_normal().string();
}

// The files of the run as far as the check has come.
struct RunFiles {
    std::set<std::string> written; // by -u, -uble and -usd --get, canonical paths
    std::string imageName;         // what -d opens without its own --fn: the last --fn of -d, -u or -uble
    std::string otpName;           // what -otp opens without its own --fn

    bool CanRead(const std::string& path) const { return written.count(Canonical(path)) != 0 || IsReadableFile(path); }
};

// Notes the file a step names; a -usd --set file is read as soon as its group is reached.
int NoteFile(const std::string& option, const WalkStep& step, RunFiles& files)
{
    if (step.syntax == nullptr || step.syntax->file == FileUse::None)
        return OP_SUCCESS;
    if (step.syntax->file == FileUse::Writes)
        files.written.insert(Canonical(step.text));
    if (step.syntax->value == ValueKind::OtpFile) {
        files.otpName = step.text;
    } else if (option == "-usd") {
        FileInfo info;
        if (step.syntax->file == FileUse::Reads && !files.CanRead(step.text) && !OpenUserSystemDataFile(step.text, info))
            return OP_SET_USD_FAILED;
    } else {
        files.imageName = step.text;
    }
    return OP_SUCCESS;
}

// -d and -otp open their file once their sub-options are read.
int CheckFileAtEnd(const std::string& option, const RunFiles& files)
{
    if (option == "-d" && !files.CanRead(files.imageName)) {
        FileInfo info;
        if (!OpenDownloadImage(files.imageName, info))
            return OP_DOWNLOAD_FAILED;
    }
    if (option == "-otp" && !files.CanRead(files.otpName)) {
        PrintOtpFileFailure();
        return OTP_FAILED;
    }
    return OP_SUCCESS;
}

int CheckOneCommand(int count, char* arguments[], int& index, RunFiles& files)
{
    const std::string option = arguments[index];
    SubOptionWalk walk(count, arguments, index);
    WalkStep step;
    while (walk.Next(step)) {
        // Whether "--y" belongs to -p --efap2 depends on the series; the run decides.
        if (step.confirmationFollows)
            walk.TakeConfirmation();
        const int fault = NoteFile(option, step, files);
        if (fault != OP_SUCCESS)
            return fault;
    }
    if (walk.Result() != OP_SUCCESS)
        return walk.Result();
    return CheckFileAtEnd(option, files);
}

} // namespace

int CheckCommandLine(int count, char* arguments[])
{
    RunFiles files;
    int index = 0;
    while (index < count) {
        if (!IsOption(arguments[index])) {
            PrintErrorBadParameter(arguments[index]);
            return OP_BAD_PARAM;
        }
        const int started = index;
        const int fault = CheckOneCommand(count, arguments, index, files);
        if (fault != OP_SUCCESS)
            return fault;
        if (index <= started)
            index = started + 1;
    }
    return OP_SUCCESS;
}
