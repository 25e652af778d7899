#include "app/logon_task.h"

namespace velocane {

namespace {

std::string EscapeXml(const std::string& text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      case '\'':
        escaped += "&apos;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

}  // namespace

std::string LogonTaskDefinition(const std::string& executable) {
  // Elements in the order the task schema's sequences ask for.
  std::string xml;
  xml += "<Task version=\"1.2\" xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">\n";
  xml += "  <RegistrationInfo>\n";
  xml +=
      "    <Description>Starts Velocane at log-on and applies the chosen connection "
      "type.</Description>\n";
  xml += "  </RegistrationInfo>\n";
  xml += "  <Triggers>\n";
  xml += "    <LogonTrigger>\n";
  xml += "      <Enabled>true</Enabled>\n";
  xml += std::string("      <Delay>") + kLogonTaskDelay + "</Delay>\n";
  xml += "    </LogonTrigger>\n";
  xml += "  </Triggers>\n";
  xml += "  <Principals>\n";
  xml += "    <Principal id=\"Author\">\n";
  xml += std::string("      <GroupId>") + kLogonTaskGroup + "</GroupId>\n";
  xml += "      <RunLevel>HighestAvailable</RunLevel>\n";
  xml += "    </Principal>\n";
  xml += "  </Principals>\n";
  xml += "  <Settings>\n";
  xml += "    <MultipleInstancesPolicy>IgnoreNew</MultipleInstancesPolicy>\n";
  xml += "    <DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>\n";
  xml += "    <StopIfGoingOnBatteries>false</StopIfGoingOnBatteries>\n";
  xml += "    <AllowStartOnDemand>true</AllowStartOnDemand>\n";
  xml += "    <Enabled>true</Enabled>\n";
  xml += "    <ExecutionTimeLimit>PT0S</ExecutionTimeLimit>\n";
  xml += "    <Priority>4</Priority>\n";
  xml += "  </Settings>\n";
  xml += "  <Actions Context=\"Author\">\n";
  xml += "    <Exec>\n";
  xml += "      <Command>" + EscapeXml(executable) + "</Command>\n";
  xml += "      <Arguments>/Auto</Arguments>\n";
  xml += "    </Exec>\n";
  xml += "  </Actions>\n";
  xml += "</Task>\n";
  return xml;
}

}  // namespace velocane
