// The fixed texts of the reference: the index page's header and footer, the
// pieces of an index entry, the pieces of a record page, and the message for
// an output file that cannot be opened. Kept together so that the exact texts
// can be read at a glance.
#pragma once

namespace templates {

// The index page's opening: style, the folding script and the list's start.
// A click on a header line with id "idHeaderN" folds the list with id
// "idBlurbN"; the number is taken whole, whatever its number of digits.
inline constexpr const char* kIndexHeader[] = {
    "<html><body>\n",
    "<head>\n",
    "<STYLE type=\"text/css\"><!-- \n",
    "\t.clsHeader { cursor:hand; }\n",
    "\t.clsBlurb { display:none; }//--></STYLE>\n",
    "<SCRIPT language=\"javascript\"><!--\n",
    "\tfunction document_click()\n",
    "\t{\n",
    "\t\tvar eSrc = window.event.srcElement;\n",
    "\t\tif( eSrc.className == 'clsHeader' )\n",
    "\t\t{\n",
    "\t\t\tvar sID = 'idBlurb' + eSrc.id.substring( 8 );\n",
    ("\t\t\tdocument.all[sID].style.display = (document.all[sID].style.display == "
     "'block'?'none':'block');\n"),
    "\t\t}\n",
    "\t\twindow.event.cancelBubble = true;\n",
    "\t}\n",
    "\tdocument.onclick = document_click;\n",
    "//-->\n",
    "</script>\n",
    "</head>\n",
    "<body>Class Reference:<ul>\n",
};

inline constexpr const char* kIndexFooter = "</body></html>\n";

// An entry's header line: number, kind, number, name, parent's name, then the
// counts with their plural endings.
inline constexpr const char* kEntryHeader =
    "<li id='idHeader%05ld' class='clsHeader'>%s <a href=\"%05ld.html\" target=\"_blank\">"
    "<font color='blue'><b>%s</b></font></a> (%s), <font size=1> %ld subclass%s, %ld state%s, "
    "%ld var%s, %ld event%s, %ld function%s</font></li>\n";
inline constexpr const char* kKindClass = "class";
inline constexpr const char* kKindState = "state";
inline constexpr const char* kSubListOpen = "<ul id='idBlurb%05ld' class='clsBlurb'>\n";
inline constexpr const char* kSubListClose = "</ul></li>\n";

// A record's page file name, inside the destination directory.
inline constexpr const char* kPageFileName = "%05ld.html";
inline constexpr const char* kIndexFileName = "index.html";
// The whole model of the run, for other tools.
inline constexpr const char* kModelFileName = "model.json";

// A record page: title, then variables, events and functions as lists.
inline constexpr const char* kPageTitleOpen = "<html><head><title>\nClass ";
inline constexpr const char* kPageTitleClose = "</title></head><body>\n";
inline constexpr const char* kPageVariables = "<p><i>Variables:</i></p><ul>\n";
inline constexpr const char* kPageEvents = "</ul><p><i>Events:</i></p><ul>\n";
inline constexpr const char* kPageFunctions = "</ul><p><i>Functions:</i></p><ul>\n";
inline constexpr const char* kPageItemOpen = "<li>";
inline constexpr const char* kPageItemClose = "</li>\n";
inline constexpr const char* kPageEnd = "</ul></body></html>";

// Console messages about output files.
inline constexpr const char* kUnableToOpen = "Unable to open '%s' for writing!\n";
inline constexpr const char* kUnableToWrite = "Unable to write '%s'!\n";
// A script read again for its source page that cannot be read any more.
inline constexpr const char* kUnableToRead = "Unable to read '%s'!\n";

}  // namespace templates
