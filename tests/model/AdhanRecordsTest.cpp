#include "RecordCases.h"
#include "model/AdhanRecords.h"

TEST(AdhanRecords, ItemsAndBundle) {
    expectCases<AdhanItem>({
        {R"({"available":true,"url":"bundle://adhan_fajr.mp3","title":"Fajr Adhan","text":""})",
         R"({"available":true,"url":"bundle://adhan_fajr.mp3","title":"Fajr Adhan","text":""})"},
        {R"({"available":true,"url":"u","version":"local-fajr-v1","title":"t","text":"x"})",
         R"({"available":true,"url":"u","version":"local-fajr-v1","title":"t","text":"x"})"},
        {R"({"url":"u","title":"t","text":"x"})", nullptr},
        {R"({"available":true,"url":"u","title":"t"})", nullptr},
    });
    const char* item = R"({"available":true,"url":"u","title":"t","text":"x"})";
    const std::string both = std::string(R"({"fajr":)") + item + R"(,"regular":)" + item + "}";
    const std::string fajrOnly = std::string(R"({"fajr":)") + item + "}";
    expectCases<AdhanBundle>({{both.c_str(), both.c_str()}, {fajrOnly.c_str(), nullptr}});
}
