-- Points the guide's figures at the EPS pictures made from the screenshots in docs/images, and
-- leaves out every figure whose screenshot does not exist (a separate script takes them). The
-- screenshot, not the picture, decides: a picture left over in the build folder does not count.
local screenshot_dir, picture_dir

local function exists(path)
  local f = io.open(path, "r")
  if f then
    f:close()
  end
  return f ~= nil
end

local function picture_for(src)
  local name = src:match("([^/]+)%.png$")
  if not name or not screenshot_dir or not exists(screenshot_dir .. "/" .. name .. ".png") then
    return nil
  end
  return picture_dir .. "/" .. name .. ".eps"
end

local function read_meta(meta)
  if meta["guide-screenshots"] and meta["guide-pictures"] then
    screenshot_dir = pandoc.utils.stringify(meta["guide-screenshots"])
    picture_dir = pandoc.utils.stringify(meta["guide-pictures"])
  end
end

-- A figure is a paragraph of one picture; it goes as a whole when its picture is missing.
local function figure(para)
  if #para.content == 1 and para.content[1].t == "Image" then
    local image = para.content[1]
    local path = picture_for(image.src)
    if not path then
      return {}
    end
    image.src = path
    return para
  end
end

-- A picture inside running text keeps its caption as text when the picture is missing.
local function picture(image)
  if image.src:match("%.eps$") then
    return nil -- a figure's picture, already resolved
  end
  local path = picture_for(image.src)
  if not path then
    return image.caption
  end
  image.src = path
  return image
end

return {{Meta = read_meta}, {Para = figure}, {Image = picture}}
