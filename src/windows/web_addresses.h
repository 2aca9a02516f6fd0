#pragma once

namespace quill {

// The product's page on the maker's web site, opened by the On The Web items and the
// update reminder, and the support address.
inline constexpr char HomePage[] = "https://www.quillmark.example/";
inline constexpr char SupportMail[] = "mailto:support@quillmark.example";

} // namespace quill
