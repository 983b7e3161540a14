// The maker's web site as the player reads it: its domain name, and the submission prompt.
#pragma once

#include <string>
#include <string_view>

/// The host of a web address: "www.pellmoor.example" of "http://www.pellmoor.example".
std::string siteDomain(std::string_view baseAddress);

/// The name prompt's heading for an online submission to the site at baseAddress:
/// "Submit time to " + domain + "!".
std::string submissionPrompt(std::string_view baseAddress);
