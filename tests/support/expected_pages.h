// The reference's fixed texts, spelled out independently of the tool's own
// templates, for exact comparisons in the end-to-end tests.
#pragma once

#include <string>

namespace expected {

inline const std::string kIndexHeader =
    "<html><body>\n"
    "<head>\n"
    "<STYLE type=\"text/css\"><!-- \n"
    "\t.clsHeader { cursor:hand; }\n"
    "\t.clsBlurb { display:none; }//--></STYLE>\n"
    "<SCRIPT language=\"javascript\"><!--\n"
    "\tfunction document_click()\n"
    "\t{\n"
    "\t\tvar eSrc = window.event.srcElement;\n"
    "\t\tif( eSrc.className == 'clsHeader' )\n"
    "\t\t{\n"
    "\t\t\tvar sID = 'idBlurb' + eSrc.id.substring( 8 );\n"
    "\t\t\tdocument.all[sID].style.display = (document.all[sID].style.display == "
    "'block'?'none':'block');\n"
    "\t\t}\n"
    "\t\twindow.event.cancelBubble = true;\n"
    "\t}\n"
    "\tdocument.onclick = document_click;\n"
    "//-->\n"
    "</script>\n"
    "</head>\n"
    "<body>Class Reference:<ul>\n";

inline const std::string kIndexFooter = "</body></html>\n";

/// One index entry's header line.
std::string EntryLine(int number, const std::string& kind, const std::string& name,
                      const std::string& parent, const std::string& counts);

/// The opening of an entry's sub-list.
std::string SubList(int number);

inline const std::string kSubListEnd = "</ul></li>\n";

/// A record page with the given title and lists (each item already escaped).
std::string Page(const std::string& name, const std::string& vars_items,
                 const std::string& events_items, const std::string& functions_items);

}  // namespace expected
