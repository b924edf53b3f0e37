#include "PageTable.h"

#include "ListEditing.h"
#include "ReportTable.h"

namespace kestrum {
namespace {

using Choices = std::vector<const char *>;

const Choices kLogFormats = {"AUTO",       "COMMON",      "COMBINED",     "REFERRER",
                             "BROWSER",    "EXTENDED",    "MICROSOFT-NA", "MICROSOFT-INT",
                             "WEBSITE-NA", "WEBSITE-INT", "MS-EXTENDED",  "MS-COMMON",
                             "NETSCAPE",   "WEBSTAR"};
const Choices kGraphBases = {"R", "r", "P", "p", "B", "b"};
const Choices kSortFull = {"REQUESTS", "PAGES", "BYTES", "DATE", "ALPHABETICAL", "RANDOM"};
const Choices kSortNoPages = {"REQUESTS", "BYTES", "DATE", "ALPHABETICAL", "RANDOM"};
const Choices kSortShort = {"REQUESTS", "DATE", "ALPHABETICAL", "RANDOM"};
const Choices kCase = {"INSENSITIVE", "SENSITIVE"};

const PageFrame kLogFrame{"LogFrame", -1, "Override settings:"};
const PageFrame kAliasFrame{"DummyF", 0, "Alias text creation:"};
const PageFrame kInclusionFrame{"DummyF", 1, "Inclusions/ exclusions:"};
const PageFrame kSearchFrame{"DummyF", 2, "Searchengine:"};
const PageFrame kDebugFrame{"DumDebug", -1, "Debug Info:"};
const PageFrame kWarningFrame{"DumWarning", -1, "Warnings:"};

PageRow heading(const char *text) {
  return {RowKind::Heading, text, nullptr};
}
PageRow note(const char *text) {
  return {RowKind::Note, text, nullptr};
}
PageRow text(const char *label, int index, const char *hint = "") {
  return {RowKind::TextBox, label, "DummyT", index, hint};
}
PageRow namedText(const char *label, const char *control, const char *hint = "") {
  return {RowKind::TextBox, label, control, -1, hint};
}
PageRow combo(const char *label, int index, const Choices &choices, const char *hint = "") {
  return {RowKind::ComboBox, label, "DummyCo", index, hint, choices};
}
PageRow check(const char *caption, const char *control, int index = -1, const char *hint = "") {
  return {RowKind::CheckBox, caption, control, index, hint};
}
PageRow button(const char *caption, const char *control, const char *hint = "") {
  return {RowKind::Button, caption, control, -1, hint};
}
PageRow help(int index, const Choices &lines) {
  return {RowKind::HelpText, "", "DummyT", index, "", lines};
}

// Check boxes of a report array (ActReport or RepSort) for the given reports.
PageColumn reportBoxes(const char *control, std::initializer_list<int> indices, bool sorting) {
  PageColumn column;
  for (int i : indices) {
    const ReportInfo &r = reportTable()[i];
    column.push_back(check(sorting ? r.sortingCaption : r.activationCaption, control, i)
                         .tip(sorting ? "click the reports in the order you want them to have. "
                                        "For default sorting you don't have to do this"
                                      : r.activationTooltip));
  }
  return column;
}

Choices toChoices(std::span<const char *const> keywords) {
  return Choices(keywords.begin(), keywords.end());
}

std::vector<PageDef> buildPages() {
  std::vector<PageDef> pages;

  pages.push_back(
      {"Host - I/O",
       "Host and file settings",
       {{{
           heading("Profile Information:"),
           text("Profile name:", 0, "the name you want to give to this Profile"),
           text("Profile directory:", 1,
                "the directory in which the profile- information is stored in - usually the "
                "directory "
                "the logfiles are stored in"),
           heading("I/O:"),
           text("Logfile(s):", 3, "name of the local Logfile(s). May contain wildcards"),
           text("Output file:", 2, "name of the Output file including extention"),
           check("Do not allow robots to visit the links in the output file:", "RobotsCheck", -1,
                 "includes a tag in the output file for robots"),
           check("Override automatic logfile type detection:", "LogCheck", -1,
                 "not recommended unless automatic doesn't work"),
           combo("Log format:", 42, kLogFormats).in(kLogFrame),
           combo("Default:", 43, kLogFormats).in(kLogFrame),
           text("Apache log:", 102)
               .in(kLogFrame)
               .tip("The log format in Apache's LogFormat notation, for logs that no fixed format "
                    "fits."),
           text("Default:", 104)
               .in(kLogFrame)
               .tip("The Apache-style format used when a log file does not name its own."),
       }}}});

  pages.push_back(
      {"Download",
       "FTP Download settings",
       {{{
           check("Use FTP to download your logfiles to the local directory", "FTPChck", 0)
               .tip("Before each run the log files are fetched from an FTP server into the profile "
                    "directory."),
           text("Server name:", 65,
                "server of your logfiles: host or ftp://host (FTP), ftps://host (FTP over TLS), "
                "sftp://host (SFTP)"),
           text("Logfile directory:", 64, "remote directory of your logfiles (e.g. /www-logs/)"),
           text("Name of Logfiles:", 60, "wildcard for the identification of the logfiles"),
           text("Username:", 62, "your username - leave blank if anonymous access"),
           PageRow{RowKind::Password, "User password:", "DummyT", 63,
                   "your password - leave blank if anonymous access"},
           text("Port:", 61,
                "port of the remote computers FTP service (usually 21; for sftp:// 21 or empty "
                "means 22)"),
           text("Timeout:", 59, "timeout in seconds. Default: 60"),
           check("Delete files on host after successfull download:", "FTPChck", 1,
                 "files on the remote computer are deleted"),
           check("Stop after download and show the downloaded files", "FTPChck", 4,
                 "gives you time to e.g. (de)compress downloaded files"),
           check(
               "Overwrite local files with remote file of the same name:", "FTPChck", 2,
               "local stored files are overwritten (use if you have only one logfile to which the "
               "logdata is appended)"),
           check("Use a proxy server", "FTPChck", 3)
               .tip("The FTP session goes through the proxy server named below."),
           text("Proxy server:", 66, "name of the proxy server if used"),
       }}}});

  pages.push_back(
      {"General",
       "General Settings",
       {{{
           heading("General Information:"),
           text("Image directory:", 23, "specify only if it doesn't work otherwise"),
           text("Logtime offset:", 22, "specify if time differences between you and server"),
           combo("GoTo's in report:", 41, {"ON", "FEW", "OFF"})
               .tip("Whether the report carries links to jump between its sections."),
           combo("Output Type:", 5, {"HTML", "ASCII", "COMPUTER", "NONE"})
               .tip("The kind of report the analyser writes."),
           text("Computer sep.:", 14, "seperator use for computer output"),
           check("Display the exact number of bytes instead of kB /MB:", "DummyC", 2,
                 "shows raw numbers instead of using kB or MB"),
           heading("Caching output/ files:"),
           text("Cachefile:", 17, "file which is read in a cachefile for data"),
           text("CacheOutFile:", 12, "file to which is written as cachefile"),
       }}}});

  pages.push_back(
      {"Layout",
       "Page layout settings",
       {{{
           heading("Output layout:"),
           text("Header file:", 78, "the name of a file used as header, blank for none"),
           text("Footer file:", 77, "the name of a file used as footer, blank for none"),
           text("Stylesheet (CSS):", 99, "cascading stylesheet used for layout, blank for none"),
           text("Pagewidth HTML:", 19).tip("Width of an HTML report page in characters."),
           text("ASCII:", 68, "width in chars for a page. default 65/HTML 75/ASCII"),
           combo("Bar Graphic:", 17, {"a", "b", "c", "d", "e", "f", "g", "h"})
               .tip("The style of the bar images in the graphs."),
           check("Displays stats for the last seven days:", "DummyC", 16,
                 "shows some info about the last seven days"),
           check("Show \"Running Time\" line at the bottom:", "DummyC", 1,
                 "Show \"Running Time\" at the bottom of the output"),
           heading("Hosted Site:"),
           text("Name:", 5, "name of the site your statistics are about"),
           text("URL:", 4, "URL of the site"),
           text("Logo- URL:", 7, "URL of the site's logo; can be local"),
       }}}});

  pages.push_back(
      {"Country",
       "Country Settings",
       {{{
           heading("Country Settings:"),
           combo("Language:", 2,
                 {"ARMENIAN",   "BOSNIAN",       "CATALAN",   "SIMP-CHINESE", "TRAD-CHINESE",
                  "CZECH",      "DANISH",        "DUTCH",     "ENGLISH",      "US-ENGLISH",
                  "FINNISH",    "FRENCH",        "GERMAN",    "GREEK",        "ICELANDIC",
                  "ITALIAN",    "JAPANESE",      "NORWEGIAN", "NYNORSK",      "POLISH",
                  "PORTUGUESE", "BR-PORTUGUESE", "RUSSIAN",   "SERBIAN",      "SLOVAK",
                  "SLOVENE",    "SPANISH",       "SWEDISH",   "TURKISH",      "UKRAINIAN"})
               .tip("The language the report is written in."),
           text("Language file:", 18, "language file - leave blank if language is choosen"),
           combo("Seperator:", 1, {",", "."}).tip("The character between thousands in numbers."),
           combo("Report Seperator:", 3, {",", ".", "none"})
               .tip("The thousands separator inside the report tables."),
           combo("Decimal Point:", 4, {",", "."}).tip("The character before decimals."),
           text("Domains file:", 20, "domains file - leave blank for selected language"),
       }}}});

  pages.push_back(
      {"DNS",
       "Settings Related to DNS",
       {{{
           heading("DNS Settings:"),
           combo("DNS usage:", 0, {"NONE", "READ", "WRITE", "LOOKUP"})
               .tip("Whether the analyser turns numeric addresses into names, and how it uses its "
                    "cache file."),
           text("DNS file:", 15, "the file where the DNS data is stored"),
           heading("DNS lookup time in hours for:"),
           text("resolved DNS:", 16, "time till Analog checks again for resolving DNS- Addr."),
           text("unresolved DNS:", 13, "same - but for unresolved addresses"),
           check(
               "Use external DNS (overrides all settings above):", "DummyC", 24,
               "Kestrum allows you to use an external DNS resolution program to overcome the slow "
               "DNS resolution of analog. We recommend the use of QuickDNS, which is free and "
               "which "
               "we have tested with Kestrum. To use QuickDNS (which is recommended) click on the "
               "button below and follow the instructions. You can also use any other external DNS "
               "resolution program."),
           text("Program file:", 101).tip("The resolver program in the program folder."),
           combo("Program file calling:", 44,
                 {"/G analog.cfg /T 20", "/G analog.cfg /T 50", "/G analog.cfg /T 100"})
               .tip("The parameters the resolver is started with."),
           check("Show the external application instead of hiding it:", "DummyC", 25)
               .tip("The resolver runs in a window of its own instead of hidden."),
           button("Use QuickDNS", "ButUseQuickDNS").tip("How to set up the external resolver."),
       }}}});

  pages.push_back(
      {"Aliases",
       "Sets all kind of aliases",
       {
           {{
                heading("General alias settings:"),
                combo("Case:", 6, kCase)
                    .tip("Whether file names are case sensitive on the server."),
                combo("User Case:", 18, kCase).tip("Whether user names are case sensitive."),
                combo("Directory suffix:", 7, {"index.html", "index.htm", "default.html"})
                    .tip("The file the server sends for a directory request."),
            },
            {
                PageRow{RowKind::ComboBox, "Alias Type:", "AliasAdd1", -1, "",
                        toChoices(aliasKeywords())}
                    .in(kAliasFrame)
                    .tip("the type of the alias that you want to create"),
                namedText("Text subsituted:", "AliasAdd2")
                    .in(kAliasFrame)
                    .tip("the text that should be substituted. (multiple) Wildcards are allowed"),
                namedText("Text inserted:", "AliasAdd3")
                    .in(kAliasFrame)
                    .tip("the text that is written for the substituted text"),
                button("Create", "AliasNew")
                    .in(kAliasFrame)
                    .tip("create a new alias with the settings from above. If you want to import "
                         "your "
                         "settings from a textfile copy an entire alias - line, paste it into the "
                         "alias type field, leave both other fields blank and click create."),
            }},
           {{
               heading("Alias data:"),
               PageRow{RowKind::ListBox, "", "AliasBox"}.tip("all aliases currently defined"),
               button("Delete", "AliasDelete").tip("deletes the selected alias"),
           }},
       }});

  pages.push_back(
      {"Includes/Search",
       "Inclusions or exclusions and search engine settings of any kind",
       {
           {{
                PageRow{RowKind::ComboBox, "In/exclusion type:", "ExT1", -1, "",
                        toChoices(inclusionKeywords())}
                    .in(kInclusionFrame)
                    .tip("the kind of inclusion or exclusion to create"),
                namedText("In/exclusion text:", "ExT2")
                    .in(kInclusionFrame)
                    .tip("what to include or exclude; wildcards are allowed"),
                button("Create", "ExNew")
                    .in(kInclusionFrame)
                    .tip("adds the inclusion or exclusion above to the list"),
            },
            {
                namedText("Searchengine:", "SeT1")
                    .in(kSearchFrame)
                    .tip("the address pattern of the search engine's result pages. Example: "
                         "*google.*/search*"),
                namedText("Searchcharacter:", "SeT2")
                    .in(kSearchFrame)
                    .tip("the character the searchengine uses for the search query. Example: q"),
                button("Create", "SeTNew")
                    .in(kSearchFrame)
                    .tip("adds the search engine above to the list"),
            }},
           {{
               check("Convert search strings from HTML to ASCII:", "DummyC", 23)
                   .tip("Search words are decoded before they are counted."),
               heading("In/exclusion data/ Searchengine data:"),
               PageRow{RowKind::ListBox, "", "ExBox"}.tip(
                   "all specified in/exclusions and search-engine settings"),
               button("Delete", "ExDelete").tip("deletes the selected entry"),
               button("Show Help", "ShowInfo").tip("explains the inclusion and exclusion commands"),
           }},
       }});

  pages.push_back(
      {"Other",
       "Unsupported settings",
       {{{
           heading("Unsupported settings (not checked - see help of Analog):"),
           PageRow{RowKind::MultiLine, "", "DummyT", 21}.tip(
               "Further analyser commands, one per line; they are copied into analog.cfg as "
               "they stand."),
       }}}});

  pages.push_back(
      {"Debug",
       "Settings about debugging",
       {
           {{
               heading("Debug Information:"),
               text("Progress frequency:", 6,
                    "produce little message every x lines. Leve blank if none"),
               check("Show Analog Window when running", "DummyC", 0)
                   .tip("The analyser runs in a visible window instead of hidden."),
           }},
           {{
                check("Show Debug Info:", "DumShowDebug").tip("Switches the debug output on."),
                check("list all corrupt logfile lines ", "DummyC", 3).in(kDebugFrame),
                check("information about DNS lookups ", "DummyC", 4).in(kDebugFrame),
                check("information about file opening and closing", "DummyC", 5).in(kDebugFrame),
                check("summary info about logfiles when closing", "DummyC", 6).in(kDebugFrame),
                check("list unknown domains", "DummyC", 7).in(kDebugFrame),
                check("list hosts without domain", "DummyC", 18).in(kDebugFrame),
            },
            {
                check("Show Warning Info:", "DumShowWarning").tip("Switches the warnings on."),
                check("invalid configuration specified ", "DummyC", 12).in(kWarningFrame),
                check("dubious configuration specified ", "DummyC", 11).in(kWarningFrame),
                check("files missing ", "DummyC", 10).in(kWarningFrame),
                check("apparent problems in logfiles ", "DummyC", 9).in(kWarningFrame),
                check("possibly problems in logfiles ", "DummyC", 8).in(kWarningFrame),
                check("turning off empty reports ", "DummyC", 13).in(kWarningFrame),
            }},
           {{
               text("Error log redirection:", 67,
                    "you can reditect the errors to a file instead of the screen; leave blank for "
                    "screen; example: Errors.txt"),
               button("Show Log", "DoShow",
                      "you can reditect the errors to a file instead of the screen; leave blank "
                      "for screen; example: Errors.txt"),
               text("Error log line length:", 100,
                    "length of a line in the error log. 0 for unlimited"),
           }},
       }});

  pages.push_back(
      {"Show Reports",
       "Activation or deactivation of reports",
       {
           {{heading("Report activation:")}},
           {reportBoxes("ActReport", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, false),
            reportBoxes("ActReport", {12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23}, false),
            reportBoxes("ActReport", {24, 25, 26, 27, 28, 29, 30, 31}, false)},
       }});

  pages.push_back(
      {"Report sorting",
       "sorting of the reports",
       {
           {{heading("Report sorting (click the checkboxes in the wanted order):")}},
           {reportBoxes("RepSort", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 27}, true),
            reportBoxes("RepSort", {12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 28}, true),
            reportBoxes("RepSort", {24, 25, 26, 29, 30, 31}, true),
            {
                namedText("Result:", "SortErg")
                    .tip("The report letters in the order the reports are written."),
                button("Restart Sorting", "SortRestart").tip("clears the order and all boxes"),
                note("Click the boxes in the wanted report order. Boxes that are not checked will "
                     "be "
                     "added by Analog in the default order. "),
                note("For default sorting do not check any checkbox."),
            }},
       }});

  pages.push_back(
      {"Time Report/1",
       "Sets columns for time reports",
       {
           {{note("If All Time Reports is used all other report settings will not be used")}},
           {{
                text("Monthly report:", 9),
                text("Weekly report:", 10),
                text("Daily summary:", 11),
                text("Daily report:", 24),
                text("Hourly Summary:", 8),
                text("Hourly report:", 25),
                text("Quarter-Hour rep:", 26),
                text("Five-minute rep.:", 27),
                text("All Time Reports:", 28),
            },
            {help(30, {"Each time report can contain columns listing the",
                       "requests, requests for pages, and bytes transferred at",
                       "that time, using the following code letters.", "R\tNumber of requests",
                       "r \tPercentage of the requests", "P \tNumber of page requests",
                       "p \tPercentage of the page requests", "B \tNumber of bytes transferred",
                       "b \tPercentage of the bytes",
                       "Which columns appear in which reports is controlled",
                       "by various commands. For example, the", "command", "Hourly Summary: Pb",
                       "tells analog to include the number of page requests",
                       "and percentage of the bytes, in that order, as the",
                       "columns for the Hourly Summary."})}},
       },
       "The column letters of the %1 (see the legend)."});

  pages.push_back(
      {"Time Report/2",
       "Sets sorting for time reports",
       {
           {{note("If you use All time graphs or All graphs backwards all other settings are "
                  "overridden")}},
           {{
                combo("Monthly graph:", 8, kGraphBases),
                combo("Weekly graph:", 9, kGraphBases),
                combo("Daily sum. graph:", 10, kGraphBases),
                combo("Daily graph:", 11, kGraphBases),
                combo("Hourly sum. graph:", 12, kGraphBases),
                combo("Hourly graph:", 13, kGraphBases),
                combo("Quarter-Hour graph:", 14, kGraphBases),
                combo("Five-minute graph:", 15, kGraphBases),
                combo("All time graphs:", 16, kGraphBases),
            },
            {
                check("Monthly graph backwards", "DummyC", 14)
                    .tip("The graph lists the latest time first."),
                check("Weekly graph backwards", "DummyC", 15)
                    .tip("The graph lists the latest time first."),
                check("Daily graph backwards", "DummyC", 17)
                    .tip("The graph lists the latest time first."),
                check("Hourly graph backwards", "DummyC", 19)
                    .tip("The graph lists the latest time first."),
                check("Quarter-Hour graph backwards", "DummyC", 20)
                    .tip("The graph lists the latest time first."),
                check("Five-minure graph backwards", "DummyC", 21)
                    .tip("The graph lists the latest time first."),
                check("All graphs backwards", "DummyC", 22)
                    .tip("The graph lists the latest time first."),
            },
            {help(29, {"R\tNumber of requests", "r \tPercentage of the requests",
                       "P \tNumber of page requests", "p \tPercentage of the page requests",
                       "B \tNumber of bytes transferred", "b \tPercentage of the bytes"})}},
       },
       "The figure (letter from the legend) the bars of the %1 show."});

  pages.push_back(
      {"Time Report/3",
       "Sets other settings for time reports",
       {{{
           heading("General settings:"),
           text("Graph char:", 40, "char representing one point in non graphical browser"),
           text("Min graph width:", 39, "minimum width of a graph"),
           combo("Weekbegin:", 19,
                 {"MONDAY", "TUESDAY", "WEDNESDAY", "THURSDAY", "FRIDAY", "SATURDAY", "SUNDAY"})
               .tip("The day the weekly report starts its weeks on."),
           heading("Maximum Rows used for output:"),
           text("Monthly report:", 38, "limits the output rows; 0 = unlimited output"),
           text("Weekly report:", 37),
           text("Daily report:", 36),
           text("Hourly report:", 35),
           text("Quarter-Hour rep:", 34),
           text("Five-minute rep.:", 33),
       }}},
       "The most rows the %1 lists; 0 lists all."});

  pages.push_back(
      {"Other Reports/1",
       "Sets columns for general reports",
       {{
           {
               text("Host report:", 48),
               text("Domain report:", 47),
               text("Request report:", 46),
               text("Directory report:", 45),
               text("Filetype report:", 44),
               text("Filesize report:", 43),
               text("Redirection report:", 42),
               text("Failure report:", 41),
               text("Referrer report:", 32),
               text("Organisation report:", 69),
               text("Search query report:", 71),
               text("OS report:", 73),
           },
           {
               text("Referring site report:", 49),
               text("Redir referrer report:", 50),
               text("Failed referrer report:", 51),
               text("Browser report:", 52),
               text("Browser summary:", 53),
               text("Virtual Host report:", 54),
               text("User report:", 55),
               text("Failed user report:", 56),
               text("Status code report:", 57),
               text("Processing time report:", 70),
               text("Search word report:", 72),
           },
           {
               help(103, {"N\tNumber", "(see Time Report/1", "for explanation)"}),
               help(31, {"Map:", "R\tNumber of requests", "r \tPercentage of the requests",
                         "P \tNumber of page requests", "p \tPercentage of the page requests"}),
               help(58, {"B \tNumber of bytes transferred", "b \tPercentage of the bytes",
                         "D\tdate of last access"}),
           },
       }},
       "The column letters of the %1 (see the legend)."});

  pages.push_back(
      {"Other Reports/2",
       "Sets sorting for general reports",
       {
           {{heading("Sorting of other reports:"), note("specifies how the reports are sorted")}},
           {{
                combo("Host report:", 20, kSortFull),
                combo("Domain report:", 21, kSortFull),
                combo("Request report:", 22, kSortNoPages),
                combo("Directory report:", 23, kSortFull),
                combo("Filetype report:", 24, kSortNoPages),
                combo("Organisation report:", 25, kSortFull),
                combo("Redirection report:", 26, kSortShort),
                combo("Failure report:", 27, kSortShort),
                combo("Referrer report:", 36, kSortFull),
                combo("Search query report:", 39, kSortFull),
                combo("Search word report:", 38, kSortFull),
            },
            {
                combo("Referring site report:", 28, kSortFull),
                combo("Redir referrer report:", 29, kSortShort),
                combo("Failed referrer report:", 30, kSortShort),
                combo("Browser report:", 31, kSortFull),
                combo("Browser summary:", 32, kSortFull),
                combo("Virtual Host report:", 33, kSortFull),
                combo("User report:", 34, kSortFull),
                combo("Failed user report:", 35, kSortShort),
                combo("Status code report:", 37, kSortShort),
                combo("OS report:", 40, kSortFull),
            }},
       },
       "How the lines of the %1 are sorted."});

  pages.push_back({"Other Reports/3",
                   "Sets other settings for general reports",
                   {
                       {{help(79, {"1Mb      \tat least 1 megabyte",
                                   "0.5%r   \t0.5% of the requests (ditto %p and %b)",
                                   "0.5:r    \t0.5% of the maximum number of requests",
                                   "970701d \tlast access since 1st July 1997",
                                   "-00-01-00d  last access in last month",
                                   "-100r    \tdomains with top 100 number of requests"})},
                        {help(98, {"Samples (e.g. with Domain report):",
                                   "1000r\tall domains with at least 1000 requests",
                                   "1000p   \tat least 1000 requests for pages",
                                   "1000000b   at least 1,000,000  bytes transferred"})}},
                       {{
                            text("Host report:", 89),
                            text("Domain report:", 90),
                            text("Request report:", 91),
                            text("Directory report:", 92),
                            text("Filetype report:", 93),
                            text("Organisation report:", 94),
                            text("Redirection report:", 95),
                            text("Failure report:", 96),
                            text("Referrer report:", 97),
                            text("Search query report:", 74),
                            text("Search word report:", 75),
                        },
                        {
                            text("Referring site report:", 88),
                            text("Redir referrer report:", 87),
                            text("Failed referrer report:", 86),
                            text("Browser report:", 85),
                            text("Browser summary:", 84),
                            text("Virtual Host report:", 83),
                            text("User report:", 82),
                            text("Failed user report:", 81),
                            text("Status code report:", 80),
                            text("OS report:", 76),
                        }},
                   },
                   "The floor of the %1: which lines it lists (see the samples)."});

  pages.push_back(
      {"Other Reports/Sub",
       "Sets subsorting/-control for general reports",
       {{{
           heading("Sub-settings (tree settings) for other reports:"),
           text("Directory tree level:", 105, "set the levels for the directory tree. 0 for none."),
           text("Domain tree level:", 106, "set the levels for the domain tree. 0 for none."),
           combo("Browser ver tree:", 45, {"0", "1", "2"})
               .tip("How many levels of browser versions the browser report shows."),
           note("Please look at the helpfile for other commands about sub/ tree settings. You can "
                "specify any command you like under the Other tab."),
           button("Show help", "ButShowHirarchical")
               .tip("opens analog's help on hierarchical reports"),
       }}}});

  return pages;
}

} // namespace

const std::vector<PageDef> &pageTable() {
  static const std::vector<PageDef> pages = buildPages();
  return pages;
}

} // namespace kestrum
