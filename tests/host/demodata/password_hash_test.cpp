#include "host/demodata/password_hash.h"

#include <gtest/gtest.h>

#include <string>

using namespace vantik;

namespace {

std::string hexOf(const Sha256Digest& digest)
{
    return toHex(std::string_view(reinterpret_cast<const char*>(digest.data()), digest.size()));
}

} // namespace

TEST(PasswordHash, Sha256KnownDigests)
{
    EXPECT_EQ(hexOf(sha256("")), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(hexOf(sha256("abc")), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    // 56 bytes: the length no longer fits the first block, padding spills into a second.
    EXPECT_EQ(hexOf(sha256("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq")),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    EXPECT_EQ(hexOf(sha256(std::string(1000000, 'a'))),
              "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

TEST(PasswordHash, HmacRfc4231)
{
    EXPECT_EQ(hexOf(hmacSha256("Jefe", "what do ya want for nothing?")),
              "5bdcc146bf60754e6a042426089575c75a003f089d2739839dec58b964ec3843");
    // A key longer than the block is hashed first.
    EXPECT_EQ(hexOf(hmacSha256(std::string(131, '\xaa'), "Test Using Larger Than Block-Size Key - Hash Key First")),
              "60e431591ee0b67f0d8a26aacbf5b77f8e0bc6213728c5140546040f0ee37f54");
}

TEST(PasswordHash, Pbkdf2PublishedVectors)
{
    EXPECT_EQ(pbkdf2Sha256Hex("password", "salt", 1),
              "120fb6cffcf8b32c43e7225256c4f837a86548c92ccc35480805987cb70be17b");
    EXPECT_EQ(pbkdf2Sha256Hex("password", "salt", 2),
              "ae4d0c95af6b46d32d0adff928f06dd02a303f8ef3c251dfd6e2d85a95474c43");
    EXPECT_EQ(pbkdf2Sha256Hex("password", "salt", 4096),
              "c5e478d59288c841aa530db6845c4c8d962893a001ce4e11a4963873aa98134a");
    // Two output blocks, cut to 40 bytes.
    EXPECT_EQ(pbkdf2Sha256Hex("passwordPASSWORDpassword", "saltSALTsaltSALTsaltSALTsaltSALTsalt", 4096, 40),
              "348c89dbcbd32b2f32d814b8116e84cf2b17347ebc1800181c4e2a1fb8dd53e1c635518c7dac47e9");
    // Embedded NUL bytes belong to the password and the salt.
    EXPECT_EQ(pbkdf2Sha256Hex(std::string("pass\0word", 9), std::string("sa\0lt", 5), 4096, 16),
              "89b69d0516f829893c696226650a8687");
}

TEST(PasswordHash, Pbkdf2Rfc7914)
{
    EXPECT_EQ(pbkdf2Sha256Hex("passwd", "salt", 1, 64),
              "55ac046e56e3089fec1691c22544b605f94185216dde0465e68b9d57c20dacbc"
              "49ca9cccf179b645991664b39d77ef317c71b845b1e30bd509112041d3a19783");
    EXPECT_EQ(pbkdf2Sha256Hex("Password", "NaCl", 80000, 64),
              "4ddcd8f60b98be21830cee5ef22701f9641a4418d04c0414aeff08876b34ab56"
              "a1d425a1225833549adb841b51c9b3176a272bdebba1d078478f62b397f33c8d");
}

TEST(PasswordHash, Pbkdf2TreatsNonPositiveIterationsAsOne)
{
    const std::string once = pbkdf2Sha256Hex("clerk123", "salt", 1);
    EXPECT_EQ(pbkdf2Sha256Hex("clerk123", "salt", 0), once);
    EXPECT_EQ(pbkdf2Sha256Hex("clerk123", "salt", -5), once);
    EXPECT_EQ(once.size(), 64u);
}
