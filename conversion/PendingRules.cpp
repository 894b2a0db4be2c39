#include "conversion/ConversionRules.h"

void RuleSelect(CXmlNode* node, const CContentModel& model) { RuleOther(node, model); }
void RuleInput(CXmlNode* node, const CContentModel& model) { RuleOther(node, model); }
void RuleTable(CXmlNode* node, const CContentModel& model) { RuleOther(node, model); }
void RuleTr(CXmlNode* node, const CContentModel& model) { RuleOther(node, model); }
void RuleTd(CXmlNode* node, const CContentModel& model) { RuleOther(node, model); }
void RuleForm(CXmlNode* node, const CContentModel& model) { RuleOther(node, model); }
