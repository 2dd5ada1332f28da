#include "lookup/avatar_search.h"

#include <utility>

#include "lookup/text_operations.h"
#ifdef _WIN32
#include "lookup/fetch_url.h"
#endif

namespace tolvane::lookup {
namespace {

Text& StoredAvatarAddress() {
  static Text address;
  return address;
}

}  // namespace

const Text& AvatarAddress() { return StoredAvatarAddress(); }

void ReleaseAvatarAddress() { StoredAvatarAddress() = Text(); }

void OnSearchClicked(SearchView& view, Fetcher fetch) {
  Text page;
  {
    // The name is appended as typed: the fetch decides what happens to bytes a URL cannot
    // carry, and a "#" cuts the address there.
    Text userName = view.GetUserName();
    Text homePageAddress = ConcatTexts(kHomePageAddressPrefix, userName);
    userName = Text();
    Bytes pageBytes = fetch(homePageAddress.c_str());
    homePageAddress = Text();
    // The page is searched as raw bytes; anything after a zero byte is ignored.
    page = BytesToText(pageBytes);
  }
  StoredAvatarAddress() =
      TextBetween(page.c_str(), kAvatarFrontMarker, kAvatarBackMarker, 0, false);
  // Fetched even when nothing was found, so the picture box is cleared by the empty result.
  Bytes picture = fetch(StoredAvatarAddress().c_str());
  view.SetPicture(picture);
}

#ifdef _WIN32
void OnSearchClicked(SearchView& view) { OnSearchClicked(view, &FetchUrl); }
#endif

}  // namespace tolvane::lookup
