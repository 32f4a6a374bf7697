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
