// The maker's fixed names that the program carries.
#pragma once

// Host name the instant-messaging links name as the site they come from.
inline constexpr const char kMakerSiteName[] = "www.tallowick.cn";
