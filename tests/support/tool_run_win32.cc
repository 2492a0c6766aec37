#include <windows.h>

#include <thread>

#include "support/temp_tree.h"
#include "support/tool_run.h"

namespace testing_support {
namespace {

namespace fs = std::filesystem;

// The tool's path: KORVANREF_BINARY, taken relative to the directory of the
// running test program when it is not absolute.
fs::path ToolPath() {
  std::wstring module(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = ::GetModuleFileNameW(nullptr, module.data(), static_cast<DWORD>(module.size()));
    if (n < module.size()) {
      module.resize(n);
      break;
    }
    module.resize(module.size() * 2);
  }
  return (fs::path(module).parent_path() / fs::path(KORVANREF_BINARY)).lexically_normal();
}

std::wstring Widen(const std::string& text) {
  if (text.empty()) return {};
  int size =
      ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(size), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
  return wide;
}

// Quotes one argument so that the C runtime's command-line parsing gives it
// back unchanged: backslashes count only in front of a double quote.
std::wstring Quote(const std::wstring& arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) return arg;
  std::wstring quoted = L"\"";
  for (auto it = arg.begin();; ++it) {
    size_t backslashes = 0;
    while (it != arg.end() && *it == L'\\') {
      ++it;
      ++backslashes;
    }
    if (it == arg.end()) {
      quoted.append(backslashes * 2, L'\\');
      break;
    }
    if (*it == L'"') {
      quoted.append(backslashes * 2 + 1, L'\\');
    } else {
      quoted.append(backslashes, L'\\');
    }
    quoted.push_back(*it);
  }
  quoted.push_back(L'"');
  return quoted;
}

void ReadAll(HANDLE pipe, std::string* sink) {
  char chunk[65536];
  DWORD n = 0;
  while (::ReadFile(pipe, chunk, sizeof chunk, &n, nullptr) && n > 0) sink->append(chunk, n);
}

// A pipe whose write end the child inherits.
bool MakePipe(HANDLE* read_end, HANDLE* write_end) {
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  if (!::CreatePipe(read_end, write_end, &inherit, 0)) return false;
  return ::SetHandleInformation(*read_end, HANDLE_FLAG_INHERIT, 0);
}

}  // namespace

// The limits are POSIX resource caps; the tests that use them do not run on
// Windows, and they are not applied here.
ToolRun RunTool(const std::filesystem::path& workdir, const std::vector<std::string>& args,
                size_t /*memory_limit*/, size_t /*file_limit*/, size_t /*cpu_seconds*/) {
  const std::map<std::string, std::string> before = ReadTree(workdir);
  const fs::path tool = ToolPath();
  std::wstring command_line = Quote(tool.wstring());
  for (const std::string& arg : args) command_line += L" " + Quote(Widen(arg));

  ToolRun run;
  HANDLE out_read, out_write, err_read, err_write;
  if (!MakePipe(&out_read, &out_write)) return run;
  if (!MakePipe(&err_read, &err_write)) {
    ::CloseHandle(out_read);
    ::CloseHandle(out_write);
    return run;
  }
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE null_in = ::CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                 OPEN_EXISTING, 0, nullptr);

  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = null_in;
  startup.hStdOutput = out_write;
  startup.hStdError = err_write;
  PROCESS_INFORMATION process = {};
  const bool started =
      ::CreateProcessW(tool.wstring().c_str(), command_line.data(), nullptr, nullptr, TRUE, 0,
                       nullptr, workdir.wstring().c_str(), &startup, &process);
  // Only the child holds the write ends now, so the reads end when it does.
  ::CloseHandle(out_write);
  ::CloseHandle(err_write);
  if (null_in != INVALID_HANDLE_VALUE) ::CloseHandle(null_in);
  if (started) {
    std::thread err_reader(ReadAll, err_read, &run.err);
    ReadAll(out_read, &run.out);
    err_reader.join();
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    // An exception that ended the process shows as an NTSTATUS error code.
    if (::GetExitCodeProcess(process.hProcess, &code) && code < 0xC0000000u) {
      run.status = static_cast<int>(code);
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
  }
  ::CloseHandle(out_read);
  ::CloseHandle(err_read);

  for (auto& [name, bytes] : ReadTree(workdir)) {
    auto old = before.find(name);
    if (old == before.end() || old->second != bytes) run.written.emplace(name, bytes);
  }
  return run;
}

}  // namespace testing_support
