// Key codes as programs read them in _toetscode: the classic virtual-key numbers
// (letters and digits as their capital ASCII code, Escape 27, arrows 37..40).
#pragma once

namespace app {

// 0 for keys that have no code (modifiers alone).
int ProgramKeyCode(int qtKey);

}  // namespace app
