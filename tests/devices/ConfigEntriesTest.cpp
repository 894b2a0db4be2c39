#include <string>
#include <vector>

#include "devices/ConfigFixture.h"

namespace {

std::vector<std::string> GroupNames()
{
    std::vector<std::string> names;
    for (CDeviceGroup* group : PublishedConfiguration()->Groups) names.emplace_back(group->Name);
    return names;
}

const char Example[] =
    "// known handsets\n"
    "DEFAULT_EXCLUDE=true\n"
    "DEVICE_GROUP=MONO\n"
    "TABLES=false\n"
    "TAG_REPLACE=h1=<b>|</b>,h2=<b>|</b>\n"
    "DEVICE_GROUP=LARGE\n"
    "DOCTYPE=\"<!DOCTYPE wml PUBLIC \\\"-//WAPFORUM//DTD WML 1.1//EN\\\" \\\"wml_1.1.xml\\\">\"\n"
    "DEVICE=HANDSET1\n"
    "USERAGENT=Handset1*\n"
    "GROUP=MONO\n"
    "DEVICE=DEFAULT\n"
    "GROUP=LARGE\n";

TEST_F(ConfigTest, ExampleGivesTwoGroupsAndTwoDevices)
{
    Load(Example);
    ASSERT_EQ(GroupNames(), (std::vector<std::string>{"MONO", "LARGE"}));
    const CWmlSettings* mono = Group("MONO")->Settings;
    const CWmlSettings* large = Group("LARGE")->Settings;
    ASSERT_TRUE(mono && large);
    EXPECT_EQ(mono->Tables, 0);
    EXPECT_STREQ(mono->TagReplace, ",h1=<b>|</b>,h2=<b>|</b>,");
    EXPECT_STREQ(large->DocType,
                 "<!DOCTYPE wml PUBLIC \"-//WAPFORUM//DTD WML 1.1//EN\" \"wml_1.1.xml\">");
    ASSERT_EQ(Config().Devices.size(), 2u);
    CDevice* handset = Device("HANDSET1");
    EXPECT_EQ(ProfileOf(handset), mono);
    EXPECT_EQ(Config().DefaultDevice, Device("DEFAULT"));
    EXPECT_EQ(ProfileOf(Config().DefaultDevice), large);
    EXPECT_EQ(Config().FindDeviceByUserAgent("Mozilla (hAnDsEt1/2.0)"), handset);
    EXPECT_EQ(Config().FindDeviceByUserAgent("Other/1.0"), Config().DefaultDevice);
}

// Group names carry the parsed values, since a name is stored unabridged.
TEST_F(ConfigTest, ValueSyntax)
{
    Load("device_group  =plain value   // comment\n"
         "DEVICE_GROUP=\" quoted; not // a comment \"\n"
         "DEVICE_GROUP=\"say \\\"hi\\\" \\\\ back\"\n"
         "DEVICE_GROUP=semi\\;colon;DEVICE_GROUP=second\n"
         "DEVICE_GROUP=\"closed\"DEVICE_GROUP=after quote\n"
         "DEVICE_GROUP=a\\tb\\n\n"
         "DEVICE_GROUP=lone\\\n"
         "DEVICE_GROUP=\"unterminated\n"
         "DEVICE_GROUP=tab\tnot=read\n"
         "no equals sign; DEVICE_GROUP=after junk\r\n"
         "// DEVICE_GROUP=commented out\n"
         "x//y=1; DEVICE_GROUP=lost\n"
         "DEVICE_GROUP=\xE9t\xE9\n");
    EXPECT_EQ(GroupNames(), (std::vector<std::string>{
                                "plain value", " quoted; not // a comment", "say \"hi\" \\ back",
                                "semi;colon", "second", "closed", "after quote", "a\tb", "lone",
                                "unterminated", "tab", "after junk", "\xE9t\xE9"}));
}

TEST_F(ConfigTest, SettingsValuesInGroupSections)
{
    Load("DEVICE_GROUP=One\n"
         "TABLES=false\n"
         "Tables  =TRUE\n"
         "XMLVERSION=<?xml version=\"1.0\"?>   // declaration\n"
         "DEVICE_GROUP=Two\n"
         "TABLES= true\n"
         "DOCTYPE=<!DOCTYPE wml PUBLIC \"-//WAPFORUM//DTD WML 1.1//EN\">\n"
         "TAG_REPLACE=font=\n"
         "TAG_REPLACE=center=<br/>\n");
    EXPECT_EQ(Group("One")->Settings->Tables, 1);
    EXPECT_STREQ(Group("One")->Settings->XmlVersion, "<?xml version=\"1.0\"?>");
    EXPECT_EQ(Group("Two")->Settings->Tables, 0);
    EXPECT_STREQ(Group("Two")->Settings->DocType, "<!DOCTYPE wml PUBLIC \"-");
    EXPECT_STREQ(Group("Two")->Settings->TagReplace, ",center=<br/>,");
}

TEST_F(ConfigTest, ExcludeFlagMarkerWordsAndCapacities)
{
    Load("DEFAULT_EXCLUDE=FaLsE");
    EXPECT_EQ(Config().DefaultExclude, 0);
    Load("DEFAULT_EXCLUDE=no");
    EXPECT_EQ(Config().DefaultExclude, 1);

    std::string text = "INCLUDE_TAG_START=" + std::string(70, 'w') + "\nEXCLUDE_TAG_STOP=/NOT\n" +
                       "DEVICE_GROUP=G\nXMLVERSION=" + std::string(200, 'x') +
                       "\nDOCTYPE=" + std::string(300, 'd') + "\nTAG_REPLACE=" +
                       std::string(1100, 't') + "\n";
    for (int i = 0; i < 150; ++i) text += "DEVICE_GROUP=g" + std::to_string(i) + "\n";
    for (int i = 0; i < 12000; ++i) text += "DEVICE=d" + std::to_string(i) + "\n";
    Load(text);
    EXPECT_EQ(std::string(Config().MarkerWords.IncludeStart), std::string(63, 'w'));
    EXPECT_STREQ(Config().MarkerWords.ExcludeStop, "/NOT");
    EXPECT_STREQ(Config().MarkerWords.IncludeStop, "/DINCL");
    const CWmlSettings* profile = Config().Groups.front()->Settings;
    EXPECT_EQ(std::string(profile->XmlVersion), std::string(127, 'x'));
    EXPECT_EQ(std::string(profile->DocType), std::string(255, 'd'));
    EXPECT_EQ(std::string(profile->TagReplace), "," + std::string(1045, 't') + ",");
    EXPECT_EQ(Config().Groups.size(), 151u);
    EXPECT_EQ(Config().Devices.size(), 12000u);
}

TEST_F(ConfigTest, DeviceSectionsAndGroupProfiles)
{
    Load("XMLVERSION=before any section\n"
         "USERAGENT=Orphan*\n"
         "DEVICE_GROUP=Colour\n"
         "XMLVERSION=<?xml version=\"1.1\"?>\n"
         "TAG_REPLACE=b=<strong>|</strong>\n"
         "DEVICE=EarlyGroup\n"
         "GROUP=Later\n"
         "DEVICE=Copier\n"
         "GROUP=colour\n"
         "XMLVERSION=own\n"
         "TABLES=false\n"
         "DEVICE=LateGroup\n"
         "DOCTYPE=own doctype\n"
         "GROUP=COLOUR\n"
         "DEVICE=Plain\n"
         "GROUP=Colour\n"
         "device=default\n"
         "DEVICE=Default\n"
         "DEVICE_GROUP=Later\n");
    EXPECT_STREQ(DefaultSettings.XmlVersion, "<?xml version=\"1.0\"?>");
    EXPECT_EQ(Config().FindDeviceByUserAgent("Orphan/1"), Config().DefaultDevice);
    EXPECT_EQ(Device("EarlyGroup")->Group, nullptr);

    const CDevice* copier = Device("Copier");
    EXPECT_EQ(copier->Group, Group("Colour"));
    EXPECT_STREQ(copier->Settings->XmlVersion, "<?xml version=\"1.1\"?>");
    EXPECT_EQ(copier->Settings->Tables, 0);
    EXPECT_STREQ(copier->Settings->TagReplace, "");

    const CDevice* late = Device("LateGroup");
    EXPECT_EQ(late->Group, Group("Colour"));
    EXPECT_STREQ(late->Settings->XmlVersion, "<?xml version=\"1.0\"?>");
    EXPECT_STREQ(late->Settings->DocType, "own doctype");

    EXPECT_EQ(ProfileOf(Device("Plain")), Group("Colour")->Settings);
    ASSERT_EQ(Config().Devices.size(), 6u);
    EXPECT_EQ(Config().DefaultDevice, Config().Devices.back());
    EXPECT_STREQ(Config().DefaultDevice->Name, "Default");
}

// A device's own profile starts from the built-in repertoire, as it does
// from the built-in deck bound, whatever its group's is.
TEST_F(ConfigTest, RepertoireValues)
{
    Load("DEVICE_GROUP=Plain\n"
         "REPERTOIRE=ascii\n"
         "DEVICE_GROUP=Small\n"
         "REPERTOIRE=LATIN1\n"
         "DEVICE=Inherits\n"
         "GROUP=Small\n"
         "DEVICE=Own\n"
         "GROUP=Small\n"
         "TABLES=false\n"
         "DEVICE=Unknown\n"
         "REPERTOIRE=LATIN1\n"
         "REPERTOIRE=UTF-8\n"
         "DEVICE=Blank\n"
         "REPERTOIRE= ASCII\n");
    EXPECT_EQ(DefaultSettings.Repertoire, RepertoireAll);
    EXPECT_EQ(Group("Plain")->Settings->Repertoire, RepertoireAscii);
    EXPECT_EQ(ProfileOf(Device("Inherits"))->Repertoire, RepertoireLatin1);
    EXPECT_EQ(ProfileOf(Device("Own"))->Repertoire, RepertoireAll);
    EXPECT_EQ(ProfileOf(Device("Unknown"))->Repertoire, RepertoireAll);
    EXPECT_EQ(ProfileOf(Device("Blank"))->Repertoire, RepertoireAll);
}

TEST_F(ConfigTest, DevicesWithoutGroupsGetBuiltInGroupsAndFallback)
{
    Load("DEVICE=Solo\nGROUP=WAP_SMALL\nUSERAGENT=Solo*\n");
    EXPECT_EQ(GroupNames(), (std::vector<std::string>{"WAP_SMALL", "WAP_MEDIUM", "WAP_LARGE"}));
    EXPECT_EQ(Device("Solo")->Group, nullptr);
    EXPECT_EQ(Config().DefaultDevice->Name, nullptr);
    EXPECT_EQ(Config().DefaultDevice->Group, Config().Groups.front());
    EXPECT_EQ(Config().FindDeviceByUserAgent("solo/2"), Device("Solo"));
    EXPECT_EQ(ProfileOf(Config().DefaultDevice), &DefaultSettings);
}

// The example shipped for users loads as its comments say.
TEST_F(ConfigTest, ShippedExampleLoads)
{
    Load(ReadFile(QUORREL_SOURCE_DIR "/examples/Fendrel.cfg"));
    EXPECT_EQ(GroupNames(), (std::vector<std::string>{"BASIC", "MONO", "LARGE"}));
    ASSERT_EQ(Config().Devices.size(), 4u);
    EXPECT_EQ(Config().FindDeviceByUserAgent("Nokia7110/1.0"), Device("NOKIA7110"));
    EXPECT_EQ(Config().FindDeviceByUserAgent("Other"), Device("DEFAULT"));
    EXPECT_EQ(ProfileOf(Config().DefaultDevice), &DefaultSettings);
    const CWmlSettings* colour = ProfileOf(Device("COLOURPHONE"));
    EXPECT_STREQ(colour->DocType, Group("LARGE")->Settings->DocType);
    EXPECT_STREQ(colour->TagReplace, ",font=,blink=,");

    // The 7110's own profile, made for its repertoire, keeps its group's
    // behaviour in everything else.
    const CWmlSettings* nokia = ProfileOf(Device("NOKIA7110"));
    const CWmlSettings* mono = Group("MONO")->Settings;
    ASSERT_NE(nokia, mono);
    EXPECT_EQ(nokia->Repertoire, RepertoireLatin1);
    EXPECT_EQ(mono->Repertoire, RepertoireAll);
    EXPECT_STREQ(nokia->XmlVersion, mono->XmlVersion);
    EXPECT_STREQ(nokia->DocType, mono->DocType);
    for (auto text : {&CWmlSettings::TableLeadText,
                      &CWmlSettings::SubmitFormat, &CWmlSettings::AmpReplace})
        EXPECT_STREQ(nokia->*text, mono->*text);
    EXPECT_STREQ(nokia->TagReplace, mono->TagReplace);
    for (auto flag : {&CWmlSettings::Tables, &CWmlSettings::FormBreakBefore,
                      &CWmlSettings::FormBreakAfter, &CWmlSettings::DropComments,
                      &CWmlSettings::MaxDeckBytes})
        EXPECT_EQ(nokia->*flag, mono->*flag);
}

}  // namespace
