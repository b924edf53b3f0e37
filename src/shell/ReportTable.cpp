#include "ReportTable.h"

namespace kestrum {

const std::array<ReportInfo, kReportCount> &reportTable() {
  static const std::array<ReportInfo, kReportCount> table = {{
      {"General Summary", "General Summary", 'x', "overall totals of the period analysed"},
      {"Monthly Report", "Monthly Report", 'm', "the activity of each month"},
      {"Weekly Report", "Weekly Report", 'W', "the activity of each week"},
      {"Daily Report", "Daily Report", 'D', "the activity of each day"},
      {"Daily Summary", "Daily Summary", 'd', "the activity by day of the week"},
      {"Hourly Report", "Hourly Report", 'H', "the activity of each hour"},
      {"Hourly Summary", "Hourly Summary", 'h', "the activity by hour of the day"},
      {"Quarter-Hour Report", "Quarter-Hour Report", '4', "the activity of each quarter hour"},
      {"Five-Minute Report", "Five-Minute Report", '5', "the activity of each five minutes"},
      {"Host Report", "Host Report", 'S', "the computers that visited the site"},
      {"Domain Report", "Domain Report", 'o', "the countries and domains of the visitors"},
      {"Request Report", "Request Report", 'r', "the files that were requested"},
      {"Directory Report", "Directory Report", 'i', "the directories that were requested"},
      {"File type Report", "File type Report", 't', "the types (extensions) of requested files"},
      {"File size Report", "File size Report", 'z', "the sizes of the files sent"},
      {"Redirection Report", "Redirection Report", 'E', "the requests that were redirected"},
      {"Failure Report", "Failure Report", 'I', "the requests that failed"},
      {"Referrer Report", "Referrer Report", 'f', "the pages that linked to the site"},
      {"Referring site report", "Referring site report", 's', "the sites that linked to the site"},
      {"Redirected Referrer Report", "Redirected Referrer Report", 'k',
       "the referrers of redirected requests"},
      {"Failed Referrer Report", "Failed Referrer Report", 'K', "the referrers of failed requests"},
      {"Browser Report", "Browser Report", 'B', "the browsers, with their versions"},
      {"Browser Summary", "Browser Summary", 'b', "the browsers, grouped by vendor"},
      {"Virtual Host Report", "Virtual Host Report", 'v', "the virtual hosts that were visited"},
      {"User Report", "User Report", 'u', "the user names of authenticated visitors"},
      {"Failed User Report", "Failed User Report", 'J', "the user names that failed to log in"},
      {"Status Code Report", "Status Code Report", 'c', "the server's status codes"},
      {"Organisation Report", "Organisation Report", 'Z', "the organisations of the visitors"},
      {"Processing Time Report", "Processing time Report", 'P',
       "how long the server took to answer"},
      {"Search Query Report", "Seach Query Report", 'N',
       "the queries that led from search engines"},
      {"Search Word Report", "Search Word Report", 'n', "the words used in search engines"},
      {"Operating System Report", "Operating system Report", 'p',
       "the operating systems of the visitors"},
  }};
  return table;
}

} // namespace kestrum
