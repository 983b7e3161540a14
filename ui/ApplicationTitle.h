// The application's title, which heads every message box.
#pragma once

inline constexpr char ApplicationTitle[] = "Sumdash!";
