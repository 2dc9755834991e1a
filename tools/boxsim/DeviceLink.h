// A symbolic link that names the box's terminal by a path of the user's choosing, so the
// program finds the box under one name while the terminal behind it changes.
#pragma once

#include <string>

namespace boxsim {

// Points `link` at `target`. An earlier link there is replaced, but never a file that is not
// a symbolic link: that one is left alone and `error` says so.
bool placeLink(const std::string& target, const std::string& link, std::string& error);

// Removes the link if it is one; anything else at that path stays.
void removeLink(const std::string& link);

} // namespace boxsim
