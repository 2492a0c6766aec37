// The search bar at the top of every page of the complete reference but the
// index: a field that find.js makes the index's search, loaded on first use.
#pragma once

#define KORVANREF_SEARCH_BAR                                                           \
  "<div id=\"idFind\"><input type=\"search\" id=\"idSearch\" aria-label=\"Search the " \
  "reference\" placeholder=\"Search (/)\"></div>\n<script src=\"find.js\"></script>\n"
