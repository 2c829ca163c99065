// skinpack: the command-line tool for skin authors. RunSkinpack holds every
// command so that tests can run them in-process; main() only forwards.
//
//   skinpack pack OUT.skn FILE...        skinpack pack OUT.skn DIR
//   skinpack list IN.skn                 skinpack extract IN.skn NAME OUT
//   skinpack unpack IN.skn DIR           skinpack inspect IN.skn
//   skinpack ini FILE.ini string SECTION KEY DEFAULT
//   skinpack ini FILE.ini int SECTION KEY DEFAULT
//   skinpack ini FILE.ini sections       skinpack render IN.skn OUT.png
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace skinpack {

// Returns the exit status: 0 success, 1 failure (message on `err`), 2 usage.
int RunSkinpack(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace skinpack
