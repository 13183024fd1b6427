// Resource ids of the skin test programs.
#pragma once

#define IDP_STRIP_40X24 301
#define IDP_STRIP_622X52 302
#define IDP_NOT_AN_IMAGE 303
#define IDP_MISSING 399
