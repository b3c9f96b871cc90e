# Outside addresses. Every host is a cache variable so a release build can point at the real
# services; the "demo" preset points the services and the announcement at the stand-in site.
set(ZEDADE_UNIVERSAL_PARSER_HOST "universal.parser.example.com" CACHE STRING "Host (or host:port) of the universal parsing service")
set(ZEDADE_SPARE_PARSER_HOST "spare.parser.example.com" CACHE STRING "Host (or host:port) of the spare parsing service")
set(ZEDADE_BACKUP_PARSER_HOST "backup.parser.example.com" CACHE STRING "Host (or host:port) of the backup parsing service")
set(ZEDADE_FULL_PARSER_HOST "full.parser.example.com" CACHE STRING "Host (or host:port) of the full parsing service")
set(ZEDADE_ANNOUNCEMENT_URL "http://blog.example.com/zedade/announcement.html" CACHE STRING "Address of the announcement page")
set(ZEDADE_OFFICIAL_SITE_URL "http://drive.example.com/s/zedade" CACHE STRING "Address of the official download page")
set(ZEDADE_CONTACT_NUMBER "10000" CACHE STRING "The author's messenger account number")
set(ZEDADE_CONTACT_SITE_URL "http://www.example.com" CACHE STRING "Web address carried in the contact link")
set(ZEDADE_YOUKU_VIDEO_HOST "v.youku.com" CACHE STRING "Host of the start video page")

set(_zedade_sites
  YOUKU    www.youku.com
  TUDOU    www.tudou.com
  LETV     www.le.com
  TENCENT  v.qq.com
  IQIYI    www.iqiyi.com
  KANKAN   www.kankan.com
  PPTV     www.pptv.com
  MANGO    www.mgtv.com
  FUNSHION www.fun.tv
  BAOFENG  www.baofeng.com
  CIETV    www.cietv.com
  DOUYU    www.douyu.com
  HUYA     www.huya.com
  ZHANQI   www.zhanqi.tv
  FENGYUN  www.fengyunzhibo.com
  SOHU     tv.sohu.com)
while(_zedade_sites)
  list(POP_FRONT _zedade_sites _name _host)
  set(ZEDADE_SITE_${_name}_HOST "${_host}" CACHE STRING "Host of the ${_name} site of the site tree")
endwhile()
