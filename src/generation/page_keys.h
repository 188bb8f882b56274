#pragma once
// Settings entries of the page templates by their fixed index in the settings
// table, for the page writers.
namespace galvora {

enum PageEntry : int {
    // index page
    kIndexHead = 125, kIndexTitle = 126, kIndexBodyTag = 127, kIndexPostBody = 128, kIndexPreTable = 129,
    kIndexTableOpen = 130, kIndexTrOpen = 131, kIndexTdOpen = 133, kIndexEntry = 135, kIndexTdClose = 136,
    kIndexTrClose = 137, kIndexTableClose = 138, kIndexPostTable = 139, kIndexPostPostTable = 140,
    kIndexFooter = 141,
    // frame page
    kFrameHead = 144, kFrameTitle = 145, kFrameContent = 146,
    // thumbnail pages
    kThumbHead = 149, kThumbTitle = 150, kThumbBody = 151, kThumbPostBody = 152, kThumbPrevPrev = 153,
    kThumbFirst = 154, kThumbPathFirst = 155, kThumbPrev = 156, kThumbUp = 157, kThumbNext = 158,
    kThumbPathLast = 159, kThumbLast = 160, kThumbNextNext = 161, kThumbPreTable = 162, kThumbTableOpen = 163,
    kThumbTrOpen = 165, kThumbTdOpen = 166, kThumbPicTag = 168, kThumbTdClose = 169, kThumbTrClose = 170,
    kThumbTableClose = 171, kThumbPostTable = 172, kThumbFooter = 173,
    // picture pages
    kPicHead = 176, kPicTitle = 177, kPicBody = 178, kPicPostBody = 179, kPicPrevPrev = 180, kPicFirst = 181,
    kPicPathFirst = 182, kPicPageFirst = 183, kPicPrev = 184, kPicUp = 185, kPicNext = 186, kPicPageLast = 187,
    kPicPathLast = 188, kPicLast = 189, kPicNextNext = 190, kPicPrePic = 191, kPicPic = 192, kPicPostPic = 193,
    kPicFooter = 194,
};

}  // namespace galvora
