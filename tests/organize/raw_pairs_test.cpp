#include <gtest/gtest.h>

#include "organize/raw_pairs.h"

namespace {

TEST(RawEndings, AddedToTheFilterWhereMissing) {
  const std::string all = WithRawEndings("jpg,avi,mov,mp4");
  EXPECT_EQ(all,
            "jpg,avi,mov,mp4,cr2,nef,nrw,arw,sr2,srf,dng,pef,srw,3fr,erf,kdc,mef,mos,iiq,"
            "orf,rw2,rwl,cr3,raf,mrw,crw,x3f");
  EXPECT_EQ(WithRawEndings(all), all);
  EXPECT_EQ(WithRawEndings("").substr(0, 8), "cr2,nef,");
  EXPECT_TRUE(FilterTakesRawPairs("jpg,nef"));
  EXPECT_TRUE(FilterTakesRawPairs("heic,x3f"));
  EXPECT_FALSE(FilterTakesRawPairs("jpg,avi,mov,mp4"));
  EXPECT_FALSE(FilterTakesRawPairs("nef,cr2,png"));
}

}  // namespace
