#pragma once
// The four clone-effect editors the clone-effect list page nests.
#include "options/pages/frame_page.h"
#include "options/pages/image_stamp_page.h"
#include "options/pages/picture_effect_page.h"
#include "options/pages/text_stamp_page.h"
