#pragma once

// The answers of the planning service, one function per endpoint: each takes
// what the request carries (its body text or its query values) and gives the
// status, type and body to send. Nothing here touches sockets, so the
// endpoints run on any thread: every call plans on objects of its own.
//
// A request the service refuses throws std::invalid_argument whose text is
// the reason shown to the caller: "request" stands where the tool names the
// wave file ("request row 3: \"Qty\" -1: below 0").

#include <string>
#include <vector>

namespace dalvenor_cli::serve {

struct Answer {
  int status = 200;
  std::string contentType = "application/json";
  std::string body;
};

// {"error":"<reason>","status":<status>}
Answer errorAnswer(int status, const std::string& reason);

// POST /v1/plan: a wave, or {"wave": [...], "settings": {...}}.
Answer planAnswer(const std::string& body);
// POST /v1/compare: as plan, with the recorded walks and the saving.
Answer compareAnswer(const std::string& body);
// POST /v1/report: as plan, answered with the HTML report page.
Answer reportAnswer(const std::string& body);
// POST /v1/route: {"addresses": [...], "solver": "greedy"}.
Answer routeAnswer(const std::string& body);
// GET /v1/distance?from=A&to=B; an empty list stands for a missing value.
Answer distanceAnswer(const std::vector<std::string>& from,
                      const std::vector<std::string>& to);
// GET /v1/locate?address=A[&address=B...].
Answer locateAnswer(const std::vector<std::string>& addresses);

}  // namespace dalvenor_cli::serve
