// Small rules of the browser window: tab captions, typed addresses, pop-up addresses and the
// keys and values it stores in its settings file. Texts are GBK.
#pragma once

#include <string>

// A page title as its tab shows it: up to 30 characters whole, longer ones as the first 10
// characters and "...". A title is text: each '&' in it is doubled, so the tab shows it rather
// than taking the character after it for its accelerator.
std::string TabCaption(const std::string& title);
// A typed word without a dot becomes "http://www." + word + ".com"; anything else stays.
std::string CompleteAddress(const std::string& typed);
// Whether the address names a web page the browser opens in a tab: http:// or https://, any case.
bool IsWebAddress(const std::string& address);
// A favourite name or page title made fit to be a settings key that old readers read right:
// "=" becomes "＝", line breaks a blank, a leading "[" or ";" goes, surrounding blanks go.
std::string SettingsKey(const std::string& text);
// A value without line breaks.
std::string SettingsValue(const std::string& text);
