// Field codes of the message envelope: what each write puts on the wire and what every read makes of it.
#include <gtest/gtest.h>

#include <climits>

#include "net/envelope.h"
#include "net_harness.h"

using namespace net_harness;

namespace {

// The bytes of the message in OutStream (read once per message: reading moves on).
std::vector<uint8_t> OutBytes() {
  const int n = NetLib.BitStreamGetNumberOfBytesUsed(OutStream);
  const unsigned char* p = NetLib.BitStreamRead(OutStream, n);
  return std::vector<uint8_t>(p, p + n);
}

// Makes InStream a stream over bytes, as if a packet with them had arrived.
class InBytes {
 public:
  explicit InBytes(const std::vector<uint8_t>& bytes) {
    stream_ = NetLib.BitStreamCreate1(0);
    NetLib.BitStreamWrite(stream_, bytes.data(), static_cast<int>(bytes.size()));
    InStream = stream_;
  }
  ~InBytes() {
    InStream = nullptr;
    NetLib.BitStreamDestroy(stream_);
  }

 private:
  RN_BitStream* stream_;
};

class EnvelopeFields : public ::testing::Test {
 protected:
  void SetUp() override { BindLibrary(); }
};

}  // namespace

TEST_F(EnvelopeFields, BeginWritesTheGameMessageId) {
  NetBeginMessage();
  NetWriteByte(300);  // only the low 8 bits travel
  EXPECT_EQ(OutBytes(), (std::vector<uint8_t>{64, 44}));
  NetBeginMessage();
  EXPECT_EQ(OutBytes(), (std::vector<uint8_t>{64}));
}

TEST_F(EnvelopeFields, EmptyStringTravelsAsOneThenZero) {
  NetBeginMessage();
  NetWriteString("");
  EXPECT_EQ(OutBytes(), (std::vector<uint8_t>{64, 1, 0}));
  InBytes in({1, 0});
  EXPECT_EQ(NetReadString(), "");
  EXPECT_FALSE(NetReadPastEnd());
}

TEST_F(EnvelopeFields, ShortsKeepSixteenBitsAndComeBackSignExtended) {
  NetBeginMessage();
  NetWriteShort(40000);
  NetWriteShort(-1);
  NetWriteShort(9999);
  const std::vector<uint8_t> bytes = OutBytes();
  InBytes in(std::vector<uint8_t>(bytes.begin() + 1, bytes.end()));
  EXPECT_EQ(NetReadShort(), -25536);
  EXPECT_EQ(NetReadShort(), -1);
  EXPECT_EQ(NetReadShort(), 9999);
  EXPECT_FALSE(NetReadPastEnd());
}

TEST_F(EnvelopeFields, IntStringIsDecimalTextInAString) {
  NetBeginMessage();
  NetWriteIntString(-5);
  EXPECT_EQ(OutBytes(), (std::vector<uint8_t>{64, 3, '-', '5', 0}));
  NetBeginMessage();
  NetWriteIntString(INT_MIN);
  const std::vector<uint8_t> bytes = OutBytes();
  InBytes in(std::vector<uint8_t>(bytes.begin() + 1, bytes.end()));
  EXPECT_EQ(NetReadIntString(), INT_MIN);
}

TEST_F(EnvelopeFields, EightBitCharactersTravelAsOneByteEach) {
  NetBeginMessage();
  NetWriteString("\xA3$Bob");
  EXPECT_EQ(OutBytes(), (std::vector<uint8_t>{64, 6, 0xA3, '$', 'B', 'o', 'b', 0}));
  InBytes in({6, 0xA3, '$', 'B', 'o', 'b', 0});
  EXPECT_EQ(NetReadString(), "\xA3$Bob");
}

TEST_F(EnvelopeFields, StringsAreCutToWhatTheLengthByteHolds) {
  NetBeginMessage();
  NetWriteString(std::string(192, 'n'));  // a full name table fits whole
  EXPECT_EQ(OutBytes()[1], 193);
  NetBeginMessage();
  NetWriteString(std::string(300, 'x'));
  const std::vector<uint8_t> bytes = OutBytes();
  ASSERT_EQ(bytes.size(), 1u + 1 + 254 + 1);
  EXPECT_EQ(bytes[1], 255);
  InBytes in(std::vector<uint8_t>(bytes.begin() + 1, bytes.end()));
  EXPECT_EQ(NetReadString(), std::string(254, 'x'));
}

TEST_F(EnvelopeFields, IntStringReadsGarbageAsDefinedValues) {
  const std::vector<std::pair<std::string, int>> cases = {
      {"42", 42}, {" \t-12", -12}, {"+7", 7}, {"17abc", 17}, {"abc", 0}, {"", 0}, {"-", 0}, {"- 5", 0},
      {"2147483647", INT_MAX}, {"-2147483648", INT_MIN}, {"99999999999999999999", INT_MAX},
      {"-99999999999999999999", INT_MIN}, {"\xA3", 0}};
  for (const auto& [text, value] : cases) {
    std::vector<uint8_t> bytes{static_cast<uint8_t>(text.size() + 1)};
    bytes.insert(bytes.end(), text.begin(), text.end());
    bytes.push_back(0);
    InBytes in(bytes);
    EXPECT_EQ(NetReadIntString(), value) << '"' << text << '"';
  }
}

TEST_F(EnvelopeFields, ReadsPastTheEndGiveZeroAndEmptyAndAreNoticed) {
  {
    InBytes in({7});
    EXPECT_EQ(NetReadByte(), 7);
    EXPECT_FALSE(NetReadPastEnd());
    EXPECT_EQ(NetReadByte(), 0);
    EXPECT_TRUE(NetReadPastEnd());
    EXPECT_EQ(NetReadShort(), 0);
    EXPECT_EQ(NetReadString(), "");
    EXPECT_EQ(NetReadIntString(), 0);
  }
  {
    InBytes in({1});  // half a short
    EXPECT_EQ(NetReadShort(), 0);
    EXPECT_TRUE(NetReadPastEnd());
  }
  {
    InBytes in({9, 'a', 'b'});  // a string cut short
    EXPECT_EQ(NetReadString(), "ab");
    EXPECT_TRUE(NetReadPastEnd());
  }
  {
    InBytes in({4, 'a', 'b', 'c', 'd', 5});  // no terminating zero: the n bytes are taken
    EXPECT_EQ(NetReadString(), "abcd");
    EXPECT_EQ(NetReadByte(), 5);
    EXPECT_FALSE(NetReadPastEnd());
  }
  {
    InBytes in({4, 'a', 0, 'c', 0});  // up to the first zero
    EXPECT_EQ(NetReadString(), "a");
    EXPECT_FALSE(NetReadPastEnd());
  }
  InStream = nullptr;  // no packet at all
  EXPECT_EQ(NetReadByte(), 0);
  EXPECT_EQ(NetReadString(), "");
  EXPECT_TRUE(NetReadPastEnd());
}
