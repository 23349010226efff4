#pragma once
#include <string>

#include "platform/clock.h"
#include "platform/locale.h"

// A locale with fixed, readable answers: ASCII case rules and the Japanese date layout.
class FakeLocale : public Locale {
 public:
  std::u16string ToUpper(std::u16string_view text) const override {
    std::u16string out(text);
    for (char16_t& c : out) {
      if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    }
    return out;
  }
  int CompareNoCase(std::u16string_view a, std::u16string_view b) const override {
    return ToUpper(a).compare(ToUpper(b));
  }
  std::string SortKeyNoCase(std::u16string_view text) const override {
    return BigEndianUnits(ToUpper(text));
  }
  int CompareCase(std::u16string_view a, std::u16string_view b) const override {
    return std::u16string(a).compare(b);
  }
  std::u16string ShortDate(const LocalDateTime& t) const override {
    return Num(t.year, 4) + u"/" + Num(t.month, 2) + u"/" + Num(t.day, 2);
  }
  std::u16string LongTime(const LocalDateTime& t) const override {
    return Num(t.hour, 1) + u":" + Num(t.minute, 2) + u":" + Num(t.second, 2);
  }
  std::u16string TimeSeparator() const override { return u":"; }

 protected:
  static std::u16string Num(int value, std::size_t width) {
    std::u16string digits;
    do {
      digits.insert(digits.begin(), static_cast<char16_t>(u'0' + value % 10));
      value /= 10;
    } while (value > 0);
    while (digits.size() < width) digits.insert(digits.begin(), u'0');
    return digits;
  }
};

// Another layout of dates and times: day.month.two-digit year and a 12-hour clock with its
// designator after the time ("5.3.15", "1:05:06 PM").
class DotDateLocale : public FakeLocale {
 public:
  std::u16string ShortDate(const LocalDateTime& t) const override {
    return Num(t.day, 1) + u"." + Num(t.month, 1) + u"." + Num(t.year % 100, 2);
  }
  std::u16string LongTime(const LocalDateTime& t) const override {
    const int hour = t.hour % 12 == 0 ? 12 : t.hour % 12;
    return Num(hour, 1) + u":" + Num(t.minute, 2) + u":" + Num(t.second, 2) +
           (t.hour < 12 ? u" AM" : u" PM");
  }
};

// A clock that shows whatever time the test sets.
class FakeClock : public Clock {
 public:
  LocalDateTime Now() const override {
    ++reads;
    return now;
  }
  LocalDateTime now{2015, 3, 5, 4, 9, 4, 7};  // Thursday, 5 March 2015, 09:04:07
  mutable int reads = 0;                      // how often the time was asked for
};
