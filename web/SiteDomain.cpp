// The maker's web site as the player reads it: its domain name, and the submission prompt.
#include "web/SiteDomain.h"

std::string siteDomain(std::string_view baseAddress)
{
    std::string_view rest = baseAddress;
    if (const auto scheme = rest.find("://"); scheme != std::string_view::npos) {
        rest.remove_prefix(scheme + 3);
    }
    rest = rest.substr(0, rest.find_first_of("/?#"));
    if (const auto user = rest.rfind('@'); user != std::string_view::npos) {
        rest.remove_prefix(user + 1);
    }
    if (rest.starts_with('[')) { // an IPv6 address keeps its brackets
        return std::string(rest.substr(0, rest.find(']') + 1));
    }
    return std::string(rest.substr(0, rest.find(':')));
}

std::string submissionPrompt(std::string_view baseAddress)
{
    return "Submit time to " + siteDomain(baseAddress) + "!";
}
