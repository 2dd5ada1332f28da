#pragma once
// The search button's handler: user name -> member home page -> avatar address -> picture.
#include "base/text.h"
#include "lookup/search_view.h"

namespace tolvane::lookup {

// The member home page address; the typed name is appended to it unchanged.
inline constexpr char kHomePageAddressPrefix[] = "http://tieba.baidu.com/home/main?un=";
// The avatar element of a home page: the picture's address lies between these two markers.
inline constexpr char kAvatarFrontMarker[] = "class=\"userinfo_head\"><img src=\"";
inline constexpr char kAvatarBackMarker[] = "\"/></a>";

// Downloads one address and returns the body (empty on any failure).
using Fetcher = Bytes (*)(const char* address);

// The avatar address that the last search found (null/empty before the first search and
// after a search that found nothing). Save As reads it to decide whether there is anything
// to save.
const Text& AvatarAddress();
// Releases the stored avatar address (the program's exit hook calls this).
void ReleaseAvatarAddress();

// Handler of the search button: reads the name from the view, downloads the home page,
// cuts out the avatar address, stores it, downloads the picture and hands it to the view.
// Nothing is reported; every failure ends with an empty address and empty picture bytes.
void OnSearchClicked(SearchView& view);  // Windows builds: downloads with FetchUrl
// The same with the downloads made by `fetch` (tests use a stand-in).
void OnSearchClicked(SearchView& view, Fetcher fetch);

}  // namespace tolvane::lookup
