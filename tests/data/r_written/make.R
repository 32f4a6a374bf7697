library(foreign)
df <- data.frame(
  "рост" = c(170.5, 165, NA, 180),
  "вес кг" = c(70, NA, 55.5, 90),
  "город" = c("Москва", "Нижний Новгород", NA, "Тверь"),
  check.names = FALSE, stringsAsFactors = FALSE)
rownames(df) <- c("Иванов", "Петров", "Сидоров", "Орлов")
write.table(df, "quoted.txt")
plain <- df
names(plain)[2] <- "вес"
plain$город[2] <- "Нижний_Новгород"
write.table(plain, "plain.txt", quote = FALSE, row.names = FALSE, fileEncoding = "CP1251")
write.table(df, "tabbed.tab", sep = "\t", quote = FALSE, row.names = FALSE)
d <- data.frame(HEIGHT = c(170.5, 165, NA, 180), COUNT = c(3L, NA, 5L, 1L),
                CITY = c("Moskva", NA, "Tver", "Omsk"), OK = c(TRUE, NA, FALSE, TRUE),
                stringsAsFactors = FALSE)
write.dbf(d, "nulls.dbf")
# CSV: row names under an empty name and NA for missing values, in UTF-8.
write.csv(df, "written.csv", fileEncoding = "UTF-8")
# Semicolons and decimal commas, Windows Cyrillic, no row names.
write.csv2(df, "written2.csv", row.names = FALSE, fileEncoding = "CP1251")
# Separators, quotes and a line break inside quoted fields, empty fields for
# NA, after a byte order mark.
tricky <- data.frame(
  "текст" = c("a,b", "сказал \"да\"", "две\nстроки", NA),
  x = c(1, 2.5, NA, -3e-5), check.names = FALSE, stringsAsFactors = FALSE)
con <- file("tricky.csv", "wb")
writeBin(as.raw(c(0xEF, 0xBB, 0xBF)), con)
write.csv(tricky, con, row.names = FALSE, na = "", fileEncoding = "UTF-8")
close(con)
# read.table's layout with commas: the names line one field short.
write.table(df, "table.csv", sep = ",", fileEncoding = "UTF-8")
