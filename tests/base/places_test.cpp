// The place list as it ships, and finding a place by the name a person types.

#include "base/places.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/cp1251.h"
#include "base/data_file_error.h"
#include "base/files.h"

namespace meridan {
namespace {

namespace fs = std::filesystem;

const PlaceList& Shipped() {
  static const PlaceList list = LoadPlaceList(fs::path(MERIDAN_DATA_DIR) / "System");
  return list;
}

std::vector<std::string> Names(const std::vector<Place>& places) {
  std::vector<std::string> names;
  for (const Place& place : places) names.push_back(Cp1251ToUtf8(place.name));
  return names;
}

TEST(Places, EveryCapitalIsFoundByItsRussianName) {
  // The capitals of Russia's federal subjects, then those of the former
  // Soviet republics.
  for (const char* name : {"Майкоп",
                           "Горно-Алтайск",
                           "Уфа",
                           "Улан-Удэ",
                           "Махачкала",
                           "Магас",
                           "Нальчик",
                           "Элиста",
                           "Черкесск",
                           "Петрозаводск",
                           "Сыктывкар",
                           "Йошкар-Ола",
                           "Саранск",
                           "Якутск",
                           "Владикавказ",
                           "Казань",
                           "Кызыл",
                           "Ижевск",
                           "Абакан",
                           "Грозный",
                           "Чебоксары",
                           "Симферополь",
                           "Барнаул",
                           "Чита",
                           "Петропавловск-Камчатский",
                           "Краснодар",
                           "Красноярск",
                           "Пермь",
                           "Владивосток",
                           "Ставрополь",
                           "Хабаровск",
                           "Благовещенск",
                           "Архангельск",
                           "Астрахань",
                           "Белгород",
                           "Брянск",
                           "Владимир",
                           "Волгоград",
                           "Вологда",
                           "Воронеж",
                           "Иваново",
                           "Иркутск",
                           "Калининград",
                           "Калуга",
                           "Кемерово",
                           "Киров",
                           "Кострома",
                           "Курган",
                           "Курск",
                           "Гатчина",
                           "Липецк",
                           "Магадан",
                           "Красногорск",
                           "Мурманск",
                           "Нижний Новгород",
                           "Великий Новгород",
                           "Новосибирск",
                           "Омск",
                           "Оренбург",
                           "Орёл",
                           "Пенза",
                           "Псков",
                           "Ростов-на-Дону",
                           "Рязань",
                           "Самара",
                           "Саратов",
                           "Южно-Сахалинск",
                           "Екатеринбург",
                           "Смоленск",
                           "Тамбов",
                           "Тверь",
                           "Томск",
                           "Тула",
                           "Тюмень",
                           "Ульяновск",
                           "Челябинск",
                           "Ярославль",
                           "Москва",
                           "Санкт-Петербург",
                           "Севастополь",
                           "Биробиджан",
                           "Нарьян-Мар",
                           "Ханты-Мансийск",
                           "Анадырь",
                           "Салехард",  //
                           "Киев",
                           "Минск",
                           "Кишинёв",
                           "Тбилиси",
                           "Ереван",
                           "Баку",
                           "Астана",
                           "Ташкент",
                           "Бишкек",
                           "Душанбе",
                           "Ашхабад",
                           "Рига",
                           "Вильнюс",
                           "Таллин"}) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(FindPlaces(Shipped(), W(name)).empty());
  }
}

TEST(Places, CaseYoHyphensAndBlanksDoNotMatter) {
  for (const char* typed : {"санкт петербург", "САНКТ-ПЕТЕРБУРГ", "Санкт - Петербург"})
    EXPECT_EQ(Names(FindPlaces(Shipped(), W(typed))), std::vector<std::string>{"Санкт-Петербург"});
  EXPECT_EQ(Names(FindPlaces(Shipped(), W("Орел"))), std::vector<std::string>{"Орёл"});
  EXPECT_EQ(Names(FindPlaces(Shipped(), W("КИШИНЕВ"))), std::vector<std::string>{"Кишинёв"});
  EXPECT_EQ(Names(FindPlaces(Shipped(), W("уланудэ"))), std::vector<std::string>{"Улан-Удэ"});
}

TEST(Places, NamesakesAreAllListed) {
  const std::vector<Place> found = FindPlaces(Shipped(), W("Железногорск"));
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].region, W("Курская область"));
  EXPECT_EQ(found[0].zone, "Europe/Moscow");
  EXPECT_EQ(found[1].region, W("Красноярский край"));
  EXPECT_EQ(found[1].zone, "Asia/Krasnoyarsk");
  EXPECT_EQ(FindPlaces(Shipped(), W("Благовещенск")).size(), 2u);
}

TEST(Places, TheWorldsZoneTownsAreThereInRussian) {
  const std::vector<Place> found = FindPlaces(Shipped(), W("Нью-Йорк"));
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].zone, "America/New_York");
  EXPECT_EQ(found[0].region, W("Соединенные Штаты"));
}

TEST(Places, AMisspeltNameGetsTheNearestNames) {
  const auto suggest = [](const char* typed) {
    std::vector<std::string> names;
    for (const std::string& name : SuggestPlaceNames(Shipped(), W(typed)))
      names.push_back(Cp1251ToUtf8(name));
    return names;
  };
  EXPECT_EQ(suggest("Екатеринбур").at(0), "Екатеринбург");
  EXPECT_EQ(suggest("Масква").at(0), "Москва");
  EXPECT_EQ(suggest("Новосибирьск").at(0), "Новосибирск");
  // A beginning: the towns it begins, shortest first.
  EXPECT_EQ(suggest("Ростов").at(0), "Ростов-на-Дону");
  // Namesakes are one suggestion; nothing is offered for what is no slip.
  const std::vector<std::string> near = suggest("Железногорс");
  EXPECT_EQ(std::count(near.begin(), near.end(), "Железногорск"), 1);
  EXPECT_TRUE(suggest("Щъщъщъщъщъщъ").empty());
  EXPECT_TRUE(suggest("--").empty());
}

TEST(Places, CompletionGivesThePlacesABeginningFits) {
  const std::vector<std::string> names = Names(PlacesStartingWith(Shipped(), W("ново"), 50));
  for (const char* name : {"Новосибирск", "Новокузнецк", "Новороссийск", "Новочеркасск"})
    EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
  EXPECT_EQ(PlacesStartingWith(Shipped(), W("ново"), 3).size(), 3u);
  EXPECT_TRUE(PlacesStartingWith(Shipped(), W("Щъ")).empty());
}

std::string ErrorOf(const std::string& utf8Text) {
  try {
    ParsePlaceList(W(utf8Text), "places.dat");
  } catch (const DataFileError& e) {
    // The window's sentence is made of the file and line alone.
    EXPECT_EQ(std::string(e.what()).rfind(AtLine(e.file(), e.line(), ""), 0), 0u) << e.what();
    return e.what();
  }
  return "";
}

TEST(Places, AMalformedLineIsNamedWithItsNumber) {
  EXPECT_EQ(ErrorOf("# места\r\nМосква\tРоссия\tEurope/Moscow\r\nТула\tEurope/Moscow\r\n"),
            "places.dat:3: wants a name, a region and a time zone separated by tabs, not 2 fields");
  EXPECT_EQ(ErrorOf("Тула\tРоссия\tEurope/Moscow\tлишнее\r\n"),
            "places.dat:1: wants a name, a region and a time zone separated by tabs, not 4 fields");
  EXPECT_EQ(ErrorOf(" - \tРоссия\tEurope/Moscow\r\n"), "places.dat:1: the place has no name");
  EXPECT_EQ(ErrorOf("Тула\t\tEurope/Moscow\r\n"), "places.dat:1: the place has no region");
  EXPECT_EQ(ErrorOf("Тула\tРоссия\tЕвропа/Москва\r\n"),
            "places.dat:1: 'Европа/Москва' is not a time zone's name");
  EXPECT_EQ(ErrorOf("Ту\x01ла\tРоссия\tEurope/Moscow\r\n"),
            "places.dat:1: a control character in the line");
  EXPECT_EQ(ErrorOf(""), "");
  EXPECT_THROW(LoadPlaceList("/nonexistent"), FileError);
}

TEST(Places, TheFileIsWindows1251WithCrLf) {
  const std::string bytes = ReadFile(fs::path(MERIDAN_DATA_DIR) / "System" / kPlaceListName);
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\n') {
      ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << "byte " << i;
    }
  }
  EXPECT_GT(Shipped().places.size(), 500u);
}

}  // namespace
}  // namespace meridan
