// Turns a label's text into the target a click opens: web addresses unchanged, e-mail
// addresses as "mailto:" links, "QQ:<number>" as an instant-messaging link.
#pragma once

#include <string>

// Sets *link and returns 1 when the text names a target. An empty text returns 0 and leaves
// *link as it was; any other text without a target empties *link and returns 0. The tests are
// case-sensitive substring searches, in the order web, e-mail, QQ.
int ApplyLinkRule(const std::string& text, std::string* link);
