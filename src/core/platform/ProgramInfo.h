#pragma once

namespace pemo {

// The program's name, as shown in titles, and its version as shown to users.
inline constexpr const char* kProgramName = "佩墨";
inline constexpr const char* kProgramVersion = "3.2";
// The version word written into stored forms: 0x0320, shown as 3.2.
inline constexpr int kStreamVersion = 800;

}  // namespace pemo
