// Message boxes. Style and result values are the Windows ones.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

constexpr uint32_t kMbOk = 0x00;
constexpr uint32_t kMbOkCancel = 0x01;
constexpr uint32_t kMbAbortRetryIgnore = 0x02;
constexpr uint32_t kMbYesNoCancel = 0x03;
constexpr uint32_t kMbYesNo = 0x04;
constexpr uint32_t kMbRetryCancel = 0x05;
constexpr uint32_t kMbIconError = 0x10;
constexpr uint32_t kMbIconQuestion = 0x20;
constexpr uint32_t kMbIconWarning = 0x30;
constexpr uint32_t kMbIconInformation = 0x40;
constexpr uint32_t kMbDefButton2 = 0x100;

constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kIdAbort = 3;
constexpr int kIdRetry = 4;
constexpr int kIdIgnore = 5;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

// An opaque window handle; 0 means no owner.
using WindowHandle = uintptr_t;

int ShowMessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                   uint32_t style);

}  // namespace platform
